// SpinWidget: the Spin control as a widget (see control_widget.h). Its
// members are properties Designer edits and .ui files store; its events and
// change notifications are signals of the same names and arguments.
#pragma once

#include "frame/values/value.h"
#include "widgets/control_widget.h"

namespace korva {

class Spin;

class KORVA_EXPORT SpinWidget : public ControlWidget {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(bool AllowArrowKeys READ AllowArrowKeys WRITE setAllowArrowKeys NOTIFY AllowArrowKeysChanged)
    Q_PROPERTY(bool AllowDecpoint READ AllowDecpoint WRITE setAllowDecpoint NOTIFY AllowDecpointChanged)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY BorderStyleChanged)
    Q_PROPERTY(int BuddyAlignment READ BuddyAlignment WRITE setBuddyAlignment NOTIFY BuddyAlignmentChanged)
    // The spin's own Enabled, apart from QWidget's `enabled`: disabling the
    // spin blends its background and greys the buttons.
    Q_PROPERTY(bool Enabled READ Enabled WRITE letEnabled NOTIFY EnabledChanged)
    // The host's font object: not a type Designer edits, so code sets it.
    Q_PROPERTY(korva::FontSpec Font READ Font WRITE setFont NOTIFY FontChanged DESIGNABLE false)
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
    explicit SpinWidget(QWidget* parent = nullptr);

    Spin* spin() const;

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
    void letEnabled(bool v);
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

    Q_INVOKABLE int32_t DecimalpointCheck(const QString& Number) const;
    Q_INVOKABLE uint8_t KeyLock(int32_t KeyAscii, bool Extra_Check, QString& Extra_sText) const;
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
};

} // namespace korva
