#pragma once
// A push button drawn flat: a one-pixel border, a fill that follows the mouse and the press,
// an optional strip of up to four glyph images and a centred caption. It can be a plain push
// button, a default button, a modal-result button or one of a group of exclusive toggles.
#include <QImage>
#include <QString>
#include <QWidget>

#include "flat/button_layout.h"
#include "flat/colors.h"

class QTimer;

namespace movarek {

// How the background is drawn: always the parent's image behind the button, that image only
// while the button is not hot, or always the fill colour.
enum class TTransparentMode { tmAlways, tmNotFocused, tmNone };

// The drawing state: down is pressed, exclusive is toggled down in a group.
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TFlatButton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString caption READ caption WRITE setCaption)

 public:
  explicit TFlatButton(QWidget* parent = nullptr);
  ~TFlatButton() override;

  // The mouse-tracking timer all buttons share: it exists exactly while a button lives.
  static QTimer* mouseTimer();

  TButtonState state() const { return m_state; }

  TTransparentMode transparentMode() const { return m_transparentMode; }
  void setTransparentMode(TTransparentMode mode);
  // The form's default button, drawn with a two-pixel border.
  bool isDefault() const { return m_default; }
  void setDefault(bool isDefault);

  // Fill when up and not hot, and when disabled; setting it stops following the parent.
  TColor color() const { return m_color; }
  void setColor(TColor color);
  bool parentColor() const { return m_parentColor; }
  void setParentColor(bool parentColor);
  TColor colorFocused() const { return m_colorFocused; }
  void setColorFocused(TColor color);
  TColor colorDown() const { return m_colorDown; }
  void setColorDown(TColor color);
  TColor colorBorder() const { return m_colorBorder; }
  void setColorBorder(TColor color);
  TColor colorHighLight() const { return m_colorHighLight; }
  void setColorHighLight(TColor color);
  TColor colorShadow() const { return m_colorShadow; }
  void setColorShadow(TColor color);
  // With useAdvColors the focused, down and border colours are shades of color, lighter or
  // darker by these amounts (0..100).
  int advColorFocused() const { return m_advColorFocused; }
  void setAdvColorFocused(int amount);
  int advColorDown() const { return m_advColorDown; }
  void setAdvColorDown(int amount);
  int advColorBorder() const { return m_advColorBorder; }
  void setAdvColorBorder(int amount);
  bool useAdvColors() const { return m_useAdvColors; }
  void setUseAdvColors(bool use);

  // 0: a plain button; otherwise one of the exclusive group of that number among the parent's
  // children, of which at most one is down.
  int groupIndex() const { return m_groupIndex; }
  void setGroupIndex(int index);
  // The group's down button may be released so that none is down.
  bool allowAllUp() const { return m_allowAllUp; }
  void setAllowAllUp(bool allow);
  bool down() const { return m_down; }
  void setDown(bool down);

  // An ampersand marks the accelerator letter.
  QString caption() const { return m_caption; }
  void setCaption(const QString& caption);
  // Whether the Tab key stops here; a click focuses the button either way.
  bool tabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void setTabStop(bool tabStop);

  // One strip of numGlyphs images side by side: up, disabled, down, exclusive.
  const QImage& glyph() const { return m_glyph; }
  void setGlyph(const QImage& glyph);
  int numGlyphs() const { return m_numGlyphs; }
  void setNumGlyphs(int count);
  TButtonLayout glyphLayout() const { return m_layout; }
  void setGlyphLayout(TButtonLayout layout);
  // The glyph's distance from the edge; -1 centres glyph and caption together.
  int margin() const { return m_margin; }
  void setMargin(int margin);
  int spacing() const { return m_spacing; }
  void setSpacing(int spacing);

  // Given to the parent dialog on every click; a non-zero result closes a modal dialog.
  int modalResult() const { return m_modalResult; }
  void setModalResult(int result) { m_modalResult = result; }

  // A slot, so that a screen reader's "press" reaches it too.
  Q_INVOKABLE void click();

 signals:
  void OnClick();
  // Only while the button is down.
  void OnDblClick();
  void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void OnMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
  void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void OnMouseEnter();
  void OnMouseLeave();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  static void checkTrackedButton();

  bool isUnderCursor() const;
  bool isInside(QPoint point) const;
  void mouseEntered();
  void mouseLeft();
  void startTracking();
  void stopTracking();
  void reevaluateTracking();
  void settleReleasedState(bool inside);
  void enabledChanged();

  void announceToGroup();
  void groupButtonPressed(int groupIndex, const TFlatButton& sender);

  void setIndexedColor(TColor& target, TColor color);
  void setAmount(int& target, int amount);
  void takeParentColor();
  void deriveColors();
  void followParentColor();
  void passModalResult();
  void updateAccelerator();

  void settleState();
  void drawBackground(QPainter& painter);
  void drawBorder(QPainter& painter);
  void drawGlyph(QPainter& painter, QPoint position);
  void drawCaption(QPainter& painter, const QRect& bounds);
  void drawKeyboardFocus(QPainter& painter);

  TTransparentMode m_transparentMode = TTransparentMode::tmNone;
  bool m_default = false;
  TColor m_color = clBtnFace;
  bool m_parentColor = true;
  TColor m_colorFocused = 0xE1EAEB;
  TColor m_colorDown = 0xC5D6D9;
  TColor m_colorBorder = 0x8396A0;
  TColor m_colorHighLight = 0xFFFFFF;
  TColor m_colorShadow = 0x000000;
  int m_advColorFocused = 10;
  int m_advColorDown = 10;
  int m_advColorBorder = 50;
  bool m_useAdvColors = false;
  int m_groupIndex = 0;
  bool m_allowAllUp = false;
  bool m_down = false;
  QString m_caption;
  QImage m_glyph;
  int m_numGlyphs = 1;
  TButtonLayout m_layout = TButtonLayout::blGlyphTop;
  int m_margin = -1;
  int m_spacing = 4;
  int m_modalResult = 0;

  TButtonState m_state = TButtonState::bsUp;
  bool m_hot = false;
  bool m_dragging = false;
  int m_acceleratorId = 0;
};

}  // namespace movarek
