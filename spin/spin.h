// Spin: a numeric entry box. A borderless text box holds the value as text
// and takes only digits, backspace and (in decimal mode) one full stop; the
// up/down buttons beside it, the arrow keys and Page Up/Down step the value
// by Interval, held below Max when stepping up and above Min when stepping
// down; leaving the box brings a value outside Min..Max back to the bound.
//
//   auto spin = korva::Spin::createNew();          // Initialize + Resize
//   spin->setMax(99);
//   layout->addWidget(spin->widget());
//   QObject::connect(spin.get(), &korva::Spin::Change, [&] { use(spin->Text()); });
//
// Events keep the control's own numbering and names: stepping up raises
// DownClick and stepping down raises UpClick, before the text changes. The
// key and mouse events pass their arguments by reference; what a handler
// leaves in KeyAscii is what the text box types.
#pragma once

#include "frame/runtime/control.h"

#include <memory>

namespace korva {

class SpinPrivate;

class KORVA_EXPORT Spin : public Control {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(bool AllowArrowKeys READ AllowArrowKeys WRITE setAllowArrowKeys NOTIFY AllowArrowKeysChanged)
    Q_PROPERTY(bool AllowDecpoint READ AllowDecpoint WRITE setAllowDecpoint NOTIFY AllowDecpointChanged)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY BorderStyleChanged)
    Q_PROPERTY(int BuddyAlignment READ BuddyAlignment WRITE setBuddyAlignment NOTIFY BuddyAlignmentChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(korva::FontSpec Font READ Font WRITE setFont NOTIFY FontChanged)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor NOTIFY ForeColorChanged)
    Q_PROPERTY(double Interval READ Interval WRITE setInterval NOTIFY IntervalChanged)
    Q_PROPERTY(int Max READ Max WRITE setMax NOTIFY MaxChanged)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength NOTIFY MaxLengthChanged)
    Q_PROPERTY(int Min READ Min WRITE setMin NOTIFY MinChanged)
    Q_PROPERTY(bool SyncBuddy READ SyncBuddy WRITE setSyncBuddy NOTIFY SyncBuddyChanged)
    Q_PROPERTY(QString Text READ Text WRITE setText NOTIFY Change)
    Q_PROPERTY(bool ThousandsSeparator READ ThousandsSeparator WRITE setThousandsSeparator NOTIFY
                   ThousandsSeparatorChanged)
public:
    Spin();
    ~Spin() override;

    // A new instance as the runtime delivers one to a form: Initialize, then Resize.
    static std::unique_ptr<Spin> createNew();
    static const ClassInfo& staticClassInfo();

    // Lets do not validate: Min above Max, a zero or negative Interval are kept
    // as given. A value the element holding it refuses leaves the old one.
    int32_t Alignment() const;
    void setAlignment(int32_t v);
    bool AllowArrowKeys() const;
    void setAllowArrowKeys(bool v);
    bool AllowDecpoint() const;
    void setAllowDecpoint(bool v);
    uint32_t BackColor() const;
    void setBackColor(uint32_t v);
    int32_t BorderStyle() const;
    void setBorderStyle(int32_t v);
    int32_t BuddyAlignment() const;
    void setBuddyAlignment(int32_t v);
    bool Enabled() const;
    // Enabling resets the background to the window colour; disabling blends it.
    void setEnabled(bool v);
    // Reading the font also lays the control out again.
    FontSpec Font() const;
    void setFont(const FontSpec& f);
    uint32_t ForeColor() const;
    void setForeColor(uint32_t v);
    double Interval() const;
    void setInterval(double v);
    int32_t Max() const;
    void setMax(int32_t v);
    int32_t MaxLength() const;
    void setMaxLength(int32_t v);
    int32_t Min() const;
    void setMin(int32_t v);
    bool SyncBuddy() const;
    void setSyncBuddy(bool v);
    QString Text() const;
    void setText(const QString& v);
    bool ThousandsSeparator() const;
    void setThousandsSeparator(bool v);

    // 1 when Number holds a full stop, else 0.
    Q_INVOKABLE int32_t DecimalpointCheck(const QString& Number) const;
    // The character to let through, or 0 to drop it (see spin_input_p.h).
    Q_INVOKABLE uint8_t KeyLock(int32_t KeyAscii, bool Extra_Check, QString& Extra_sText) const;
    // Lays the control out again and repaints the buttons.
    Q_INVOKABLE void Refresh();

signals:
    void Change();
    void Click();
    void DblClick();
    void DownClick();
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii);
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void UpClick();

    void AlignmentChanged();
    void AllowArrowKeysChanged();
    void AllowDecpointChanged();
    void BackColorChanged();
    void BorderStyleChanged();
    void BuddyAlignmentChanged();
    void EnabledChanged();
    void FontChanged();
    void ForeColorChanged();
    void IntervalChanged();
    void MaxChanged();
    void MaxLengthChanged();
    void MinChanged();
    void SyncBuddyChanged();
    void ThousandsSeparatorChanged();

protected:
    void onInitialize() override;
    void onReadProperties(const PropertyBag& bag) override;
    void onWriteProperties(PropertyBag& bag) override;
    void onResize() override;
    void onShow() override;
    void onPaint() override;
    void onGotFocus() override;
    void onEnterFocus() override;
    void onExitFocus() override;
    void onLostFocus() override;
    void onSystemColoursChanged() override;
    InvokeStatus onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args,
                          Value& result) override;

private:
    std::unique_ptr<SpinPrivate> d;
    friend class SpinPrivate;
    friend class SpinAccessible;
};

} // namespace korva
