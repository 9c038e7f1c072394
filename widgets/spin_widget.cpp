#include "widgets/spin_widget.h"

#include "spin/spin.h"

namespace korva {

// Every setter forwards: the control announces each let itself, and
// relaySignals() passes that on as this widget's signal.
SpinWidget::SpinWidget(QWidget* parent) : ControlWidget(Spin::createNew(), parent) { relaySignals(); }

Spin* SpinWidget::spin() const { return static_cast<Spin*>(control()); }

int32_t SpinWidget::Alignment() const { return spin()->Alignment(); }
void SpinWidget::setAlignment(int32_t v) { spin()->setAlignment(v); }
bool SpinWidget::AllowArrowKeys() const { return spin()->AllowArrowKeys(); }
void SpinWidget::setAllowArrowKeys(bool v) { spin()->setAllowArrowKeys(v); }
bool SpinWidget::AllowDecpoint() const { return spin()->AllowDecpoint(); }
void SpinWidget::setAllowDecpoint(bool v) { spin()->setAllowDecpoint(v); }
uint32_t SpinWidget::BackColor() const { return spin()->BackColor(); }
void SpinWidget::setBackColor(uint32_t v) { spin()->setBackColor(v); }
int32_t SpinWidget::BorderStyle() const { return spin()->BorderStyle(); }
void SpinWidget::setBorderStyle(int32_t v) { spin()->setBorderStyle(v); }
int32_t SpinWidget::BuddyAlignment() const { return spin()->BuddyAlignment(); }
void SpinWidget::setBuddyAlignment(int32_t v) { spin()->setBuddyAlignment(v); }
bool SpinWidget::Enabled() const { return spin()->Enabled(); }
void SpinWidget::letEnabled(bool v) { spin()->setEnabled(v); }
FontSpec SpinWidget::Font() const { return spin()->Font(); }
void SpinWidget::setFont(const FontSpec& f) { spin()->setFont(f); }
uint32_t SpinWidget::ForeColor() const { return spin()->ForeColor(); }
void SpinWidget::setForeColor(uint32_t v) { spin()->setForeColor(v); }
double SpinWidget::Interval() const { return spin()->Interval(); }
void SpinWidget::setInterval(double v) { spin()->setInterval(v); }
int32_t SpinWidget::Max() const { return spin()->Max(); }
void SpinWidget::setMax(int32_t v) { spin()->setMax(v); }
int32_t SpinWidget::MaxLength() const { return spin()->MaxLength(); }
void SpinWidget::setMaxLength(int32_t v) { spin()->setMaxLength(v); }
int32_t SpinWidget::Min() const { return spin()->Min(); }
void SpinWidget::setMin(int32_t v) { spin()->setMin(v); }
bool SpinWidget::SyncBuddy() const { return spin()->SyncBuddy(); }
void SpinWidget::setSyncBuddy(bool v) { spin()->setSyncBuddy(v); }
QString SpinWidget::Text() const { return spin()->Text(); }
void SpinWidget::setText(const QString& v) { spin()->setText(v); }
bool SpinWidget::ThousandsSeparator() const { return spin()->ThousandsSeparator(); }
void SpinWidget::setThousandsSeparator(bool v) { spin()->setThousandsSeparator(v); }

int32_t SpinWidget::DecimalpointCheck(const QString& Number) const {
    return spin()->DecimalpointCheck(Number);
}

uint8_t SpinWidget::KeyLock(int32_t KeyAscii, bool Extra_Check, QString& Extra_sText) const {
    return spin()->KeyLock(KeyAscii, Extra_Check, Extra_sText);
}

void SpinWidget::Refresh() { spin()->Refresh(); }

} // namespace korva
