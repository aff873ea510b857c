#include "rtf/qt/rtf_text_document.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "rtf/rtf_reader.h"

namespace movarek {
namespace {

// Twips are 1/1440 of an inch; the text document measures in pixels of 1/96 of an inch.
constexpr double kTwipsPerPixel = 15.0;

Qt::Alignment alignment(RtfAlignment rtfAlignment) {
  switch (rtfAlignment) {
    case RtfAlignment::Centre:
      return Qt::AlignHCenter;
    case RtfAlignment::Right:
      return Qt::AlignRight;
    case RtfAlignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

QTextBlockFormat blockFormat(const RtfParagraph& paragraph) {
  QTextBlockFormat format;
  format.setAlignment(alignment(paragraph.alignment));
  format.setLeftMargin(paragraph.leftIndentTwips / kTwipsPerPixel);
  return format;
}

QTextCharFormat charFormat(const RtfCharFormat& rtfFormat) {
  QTextCharFormat format;
  format.setFontWeight(rtfFormat.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(rtfFormat.italic);
  format.setFontUnderline(rtfFormat.underline);
  format.setFontPointSize(rtfFormat.halfPoints / 2.0);
  if (!rtfFormat.fontName.empty()) {
    format.setFontFamilies({QString::fromStdString(rtfFormat.fontName)});
  }
  if (rtfFormat.colour) {
    const auto& colour = *rtfFormat.colour;
    format.setForeground(QColor(colour.red, colour.green, colour.blue));
  }
  return format;
}

// A line break inside a paragraph is the text document's line separator.
QString runText(const std::string& utf8) {
  QString text = QString::fromStdString(utf8);
  text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
  return text;
}

}  // namespace

void fillTextDocument(QTextDocument& target, const RtfDocument& document) {
  target.clear();
  QTextCursor cursor(&target);
  bool first = true;
  for (const auto& paragraph : document.paragraphs) {
    if (!first) cursor.insertBlock();
    first = false;
    cursor.setBlockFormat(blockFormat(paragraph));
    for (const auto& run : paragraph.runs)
      cursor.insertText(runText(run.text), charFormat(run.format));
  }
}

}  // namespace movarek
