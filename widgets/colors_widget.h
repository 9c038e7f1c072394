// ColorsWidget: the Colors control as a widget (see control_widget.h). The
// members a form designer sets are properties Designer edits and .ui files
// store; `qColor` is the chosen colour as a QColor beside the OLE_COLOR
// `Color`, and the control's events are signals of the same name.
#pragma once

#include "widgets/control_widget.h"

#include <QColor>

namespace korva {

class Colors;

class KORVA_EXPORT ColorsWidget : public ControlWidget {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE setColor NOTIFY colourChanged)
    Q_PROPERTY(QColor qColor READ qColor WRITE setQColor NOTIFY colourChanged)
    Q_PROPERTY(QString Text READ Text NOTIFY colourChanged)
    Q_PROPERTY(int Palette READ Palette WRITE setPalette NOTIFY paletteChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY lookChanged)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor NOTIFY lookChanged)
    Q_PROPERTY(bool BackcolorCustom READ BackcolorCustom WRITE setBackcolorCustom NOTIFY lookChanged)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor NOTIFY lookChanged)
    Q_PROPERTY(uint MaskHLightColor READ MaskHLightColor WRITE setMaskHLightColor NOTIFY lookChanged)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType NOTIFY lookChanged)
    Q_PROPERTY(bool FocusRect READ FocusRect WRITE setFocusRect NOTIFY lookChanged)
    Q_PROPERTY(bool PictureVisible READ PictureVisible WRITE setPictureVisible NOTIFY lookChanged)
    Q_PROPERTY(bool ShowButtonColor READ ShowButtonColor WRITE setShowButtonColor NOTIFY lookChanged)
    Q_PROPERTY(bool PopupEnabled READ PopupEnabled WRITE setPopupEnabled NOTIFY popupSettingsChanged)
    Q_PROPERTY(
        bool bPOSITIONDEFAULT READ bPOSITIONDEFAULT WRITE setbPOSITIONDEFAULT NOTIFY popupSettingsChanged)
    // The control's own Enabled, apart from QWidget's `enabled`: a disabled
    // button shows its disabled look and opens no panel.
    Q_PROPERTY(bool Enabled READ Enabled WRITE letEnabled NOTIFY lookChanged)
public:
    explicit ColorsWidget(QWidget* parent = nullptr);

    korva::Colors* colors() const;

    uint Color() const;
    void setColor(uint c);
    QColor qColor() const;
    void setQColor(const QColor& c);
    QString Text() const;
    int Palette() const;
    void setPalette(int v);
    QString Caption() const;
    void setCaption(const QString& s);
    uint BackColor() const;
    void setBackColor(uint c);
    bool BackcolorCustom() const;
    void setBackcolorCustom(bool on);
    uint ForeColor() const;
    void setForeColor(uint c);
    uint MaskHLightColor() const;
    void setMaskHLightColor(uint c);
    int ButtonType() const;
    void setButtonType(int v);
    bool FocusRect() const;
    void setFocusRect(bool on);
    bool PictureVisible() const;
    void setPictureVisible(bool on);
    bool ShowButtonColor() const;
    void setShowButtonColor(bool on);
    bool PopupEnabled() const;
    void setPopupEnabled(bool on);
    bool bPOSITIONDEFAULT() const;
    void setbPOSITIONDEFAULT(bool on);
    bool Enabled() const;
    void letEnabled(bool on);

signals:
    void Change(uint32_t& sCOLORCHANGED);
    void ChangeCustom(uint32_t& sCOLORCHANGED);
    void Click();
    void DblClick();
    void FocusHidden();
    void FocusLost();
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii);
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseOut(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void PopUp();

    void colourChanged();
    void lookChanged();
    void paletteChanged();
    void popupSettingsChanged();
};

} // namespace korva
