#include "webview/module/guest_view.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWebEngineContextMenuRequest>
#include <vector>

#include "webview/module/guest_page.h"

namespace movarek {
namespace {

using EditFlag = QWebEngineContextMenuRequest::EditFlag;

struct MenuItem {
  QString text;  // none for a separator
  QWebEnginePage::WebAction action = QWebEnginePage::NoWebAction;
  bool enabled = true;
};

// In a field its editing; on selected text copying it; on a link copying its address;
// elsewhere loading the page again. Only what works at that moment is enabled.
std::vector<MenuItem> menuFor(const QWebEngineContextMenuRequest& request) {
  const auto can = [flags = request.editFlags()](EditFlag flag) { return flags.testFlag(flag); };
  if (request.isContentEditable()) {
    return {{QStringLiteral("Zpět"), QWebEnginePage::Undo, can(EditFlag::CanUndo)},
            {QStringLiteral("Znovu"), QWebEnginePage::Redo, can(EditFlag::CanRedo)},
            {},
            {QStringLiteral("Vyjmout"), QWebEnginePage::Cut, can(EditFlag::CanCut)},
            {QStringLiteral("Kopírovat"), QWebEnginePage::Copy, can(EditFlag::CanCopy)},
            {QStringLiteral("Vložit"), QWebEnginePage::Paste, can(EditFlag::CanPaste)},
            {},
            {QStringLiteral("Vybrat vše"), QWebEnginePage::SelectAll, can(EditFlag::CanSelectAll)}};
  }
  std::vector<MenuItem> items;
  if (!request.selectedText().isEmpty()) {
    items.push_back({QStringLiteral("Kopírovat"), QWebEnginePage::Copy});
  }
  if (!request.linkUrl().isEmpty()) {
    items.push_back(
        {QStringLiteral("Kopírovat adresu odkazu"), QWebEnginePage::CopyLinkToClipboard});
  }
  if (items.empty()) items.push_back({QStringLiteral("Načíst znovu"), QWebEnginePage::Reload});
  return items;
}

bool isLeftButton(const QEvent& event, QEvent::Type type) {
  return event.type() == type && static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

// Nothing is dropped on the page: a file dropped there would be the page's to read.
bool isDrag(const QEvent& event) {
  return event.type() == QEvent::DragEnter || event.type() == QEvent::DragMove ||
         event.type() == QEvent::Drop;
}

}  // namespace

GuestView::GuestView(QWidget* parent) : QWebEngineView(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(false);
}

void GuestView::setGuestPage(GuestPage* page) {
  page_ = page;
  setPage(page);
}

void GuestView::contextMenuEvent(QContextMenuEvent* event) {
  const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
  if (!request) return;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const MenuItem& item : menuFor(*request)) {
    if (item.text.isEmpty()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(item.text);
    action->setEnabled(item.enabled);
    connect(action, &QAction::triggered, this,
            [this, webAction = item.action] { triggerPageAction(webAction); });
  }
  menu->popup(event->globalPos());
}

// The engine's input goes to a widget it places inside the view: the user's keys and clicks
// are watched there, and a widget made anew while the page runs takes the view's place in the
// Tab order and its name. A page's tooltip (an element's title) is shown as the text it is, never
// as markup.
bool GuestView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && !toolTip().isEmpty()) {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       Qt::convertFromPlainText(toolTip(), Qt::WhiteSpaceNormal), this);
    return true;
  }
  if (event->type() == QEvent::ChildAdded) {
    if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType()) {
      auto* inner = static_cast<QWidget*>(child);
      inner->installEventFilter(this);
      // Made once the page runs, the engine's widget would come last in the window's Tab order,
      // and nameless to a screen reader.
      setTabOrder(this, inner);
      inner->setAccessibleName(accessibleName());
    }
  }
  return QWebEngineView::event(event);
}

// A link opens outside only when the user's own mouse button went down and came up on it:
// never on a key, which a script can have moved the focus for, nor on a script's own click.
bool GuestView::eventFilter(QObject* watched, QEvent* event) {
  if (page_ && isDrag(*event)) {
    event->ignore();
    return true;
  }
  if (page_ && isLeftButton(*event, QEvent::MouseButtonPress)) {
    pressedLink_ = page_->hoveredLink();
  } else if (page_ && isLeftButton(*event, QEvent::MouseButtonRelease)) {
    if (!pressedLink_.isEmpty() && page_->hoveredLink() == pressedLink_) {
      page_->userClickedLink(pressedLink_);
    }
    pressedLink_.clear();
  }
  if (page_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)) {
    page_->userActed();
  }
  return QWebEngineView::eventFilter(watched, event);
}

}  // namespace movarek
