#include "widgets/colors_widget.h"

#include "colors/colors.h"

namespace korva {

ColorsWidget::ColorsWidget(QWidget* parent) : ControlWidget(Colors::createNew(), parent) { relaySignals(); }

Colors* ColorsWidget::colors() const { return static_cast<Colors*>(control()); }

QString ColorsWidget::Text() const { return colors()->Text(); }

uint ColorsWidget::Color() const { return colors()->Color(); }
void ColorsWidget::setColor(uint v) { colors()->setColor(v); }

QColor ColorsWidget::qColor() const { return colors()->qColor(); }
void ColorsWidget::setQColor(const QColor& v) { colors()->setQColor(v); }

int ColorsWidget::Palette() const { return colors()->Palette(); }
void ColorsWidget::setPalette(int v) { colors()->setPalette(v); }

QString ColorsWidget::Caption() const { return colors()->Caption(); }
void ColorsWidget::setCaption(const QString& v) { colors()->setCaption(v); }

uint ColorsWidget::BackColor() const { return colors()->BackColor(); }
void ColorsWidget::setBackColor(uint v) { colors()->setBackColor(v); }

bool ColorsWidget::BackcolorCustom() const { return colors()->BackcolorCustom(); }
void ColorsWidget::setBackcolorCustom(bool v) { colors()->setBackcolorCustom(v); }

uint ColorsWidget::ForeColor() const { return colors()->ForeColor(); }
void ColorsWidget::setForeColor(uint v) { colors()->setForeColor(v); }

uint ColorsWidget::MaskHLightColor() const { return colors()->MaskHLightColor(); }
void ColorsWidget::setMaskHLightColor(uint v) { colors()->setMaskHLightColor(v); }

int ColorsWidget::ButtonType() const { return colors()->ButtonType(); }
void ColorsWidget::setButtonType(int v) { colors()->setButtonType(v); }

bool ColorsWidget::FocusRect() const { return colors()->FocusRect(); }
void ColorsWidget::setFocusRect(bool v) { colors()->setFocusRect(v); }

bool ColorsWidget::PictureVisible() const { return colors()->PictureVisible(); }
void ColorsWidget::setPictureVisible(bool v) { colors()->setPictureVisible(v); }

bool ColorsWidget::ShowButtonColor() const { return colors()->ShowButtonColor(); }
void ColorsWidget::setShowButtonColor(bool v) { colors()->setShowButtonColor(v); }

bool ColorsWidget::PopupEnabled() const { return colors()->PopupEnabled(); }
void ColorsWidget::setPopupEnabled(bool v) { colors()->setPopupEnabled(v); }

bool ColorsWidget::bPOSITIONDEFAULT() const { return colors()->bPOSITIONDEFAULT(); }
void ColorsWidget::setbPOSITIONDEFAULT(bool v) { colors()->setbPOSITIONDEFAULT(v); }

bool ColorsWidget::Enabled() const { return colors()->Enabled(); }
void ColorsWidget::letEnabled(bool on) { colors()->setEnabled(on); }

} // namespace korva
