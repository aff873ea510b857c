#pragma once
// "Smazat" and "Smazat vše" in the history: records deleted and messages still to go
// cancelled, after a question, a batch at a time on the database's thread, which goes on with
// other work between. What a record became since it was listed decides, whatever the user saw:
// a send under way is never deleted, a message still to go is cancelled only while it is one,
// and the user is told of those that stayed.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace movarek {

class ProgramDatabase;
struct JobEnd;

class SentMessagesRemoval : public QObject {
  Q_OBJECT

 public:
  // A record the user chose, and whether it was listed as a message still to go.
  struct Chosen {
    std::int64_t id;
    bool plan;
  };

  // `caption` is the window's, for its questions and what it tells.
  SentMessagesRemoval(ProgramDatabase& database, QString caption, QObject* parent);

  // False when the user kept them.
  bool removeChosen(const std::vector<Chosen>& chosen);
  // The records `search` finds (all with none): false when the user kept them.
  bool removeFound(const QString& search);

 signals:
  // Records are gone: a message still to go among them goes no more.
  void removed();
  // A batch could not be done, and the user has been told why.
  void failed();

 private:
  void removeBatch(std::vector<std::int64_t> records, std::vector<std::int64_t> plans,
                   std::shared_ptr<int> kept, bool last);
  void removeFoundFrom(const std::string& search);
  // A batch that failed with a fault: told, and so said.
  bool toldFailure(const JobEnd& end);
  // `kept` records stayed: their sends had begun.
  void tellKept(int kept);
  bool asked(const QString& question);

  ProgramDatabase& database_;
  QString caption_;
};

}  // namespace movarek
