#pragma once
// A single-line edit with a flat one-pixel frame that lights up under the mouse and on focus.
// The plain edit's own properties and events are those of QLineEdit.
#include <QLineEdit>

#include "flat/colors.h"

namespace movarek {

class TCustomFlatEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TCustomFlatEdit(QWidget* parent = nullptr);

  // Fill and inner frame when focused or under the mouse.
  TColor colorFocused() const { return m_colorFocused; }
  void setColorFocused(TColor color);
  // The outer one-pixel frame.
  TColor colorBorder() const { return m_colorBorder; }
  void setColorBorder(TColor color);
  // Fill and inner frame otherwise; setting it stops following the parent's colour.
  TColor colorFlat() const { return m_colorFlat; }
  void setColorFlat(TColor color);
  bool parentColor() const { return m_parentColor; }
  void setParentColor(bool parentColor);

  // With useAdvColors the focused and border colours are shades of colorFlat, lighter and
  // darker by these amounts (0..100).
  int advColorFocused() const { return m_advColorFocused; }
  void setAdvColorFocused(int amount);
  int advColorBorder() const { return m_advColorBorder; }
  void setAdvColorBorder(int amount);
  bool useAdvColors() const { return m_useAdvColors; }
  void setUseAdvColors(bool use);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool showsPlainLook() const;
  // Chooses the look for the current focus and mouse and repaints with it.
  void redrawBorder();
  void takeParentColor();
  void deriveColors();
  void followParentColor();
  void followParentFont();
  void fitHeightToFont();

  TColor m_colorFocused = 0xFFFFFF;
  TColor m_colorBorder = 0x8396A0;
  TColor m_colorFlat = 0xE1EAEB;
  bool m_parentColor = true;
  int m_advColorFocused = 10;
  int m_advColorBorder = 50;
  bool m_useAdvColors = false;
  bool m_mouseIn = false;
  bool m_focusedLook = false;
};

class TFlatEdit : public TCustomFlatEdit {
  Q_OBJECT

 public:
  using TCustomFlatEdit::TCustomFlatEdit;
};

}  // namespace movarek
