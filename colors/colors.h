// Colors: a colour-picker button. The face is a push button filled with a
// swatch of the chosen colour; a click opens a drop-down panel of named
// colours in one of twelve layouts, where dragging previews a colour
// (Change), releasing chooses it (Click, Change) and "More colors" opens the
// platform's colour dialog (ChangeCustom).
//
//   auto colors = korva::Colors::createNew();     // Initialize, InitProperties, Resize
//   colors->setPalette(korva::AP16X8X6);
//   layout->addWidget(colors->widget());
//   QObject::connect(colors.get(), &korva::Colors::Change,
//                    [](uint32_t& colour) { /* preview or choice, 0x00BBGGRR */ });
//
// Events carry their arguments by reference, as the event interface declares
// them: a directly connected slot may change them, and the control goes on
// with what the slot left (KeyDown's KeyCode, for instance).
#pragma once

#include "colors/palettes.h"
#include "frame/runtime/control.h"

#include <QColor>

#include <memory>

namespace korva {

class PaletteModel;

class ColorsPrivate;

class KORVA_EXPORT Colors : public Control {
    Q_OBJECT
    Q_PROPERTY(uint ActiveColor READ ActiveColor NOTIFY activeCellChanged)
    Q_PROPERTY(QString ActiveText READ ActiveText NOTIFY activeCellChanged)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor NOTIFY lookChanged)
    Q_PROPERTY(bool BackcolorCustom READ BackcolorCustom WRITE setBackcolorCustom NOTIFY lookChanged)
    Q_PROPERTY(bool bMOUSEPOSLOC READ MousePosn WRITE setMousePosn NOTIFY hoverChanged)
    Q_PROPERTY(
        bool bPOSITIONDEFAULT READ bPOSITIONDEFAULT WRITE setbPOSITIONDEFAULT NOTIFY popupSettingsChanged)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType NOTIFY lookChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY lookChanged)
    Q_PROPERTY(uint Color READ Color WRITE setColor NOTIFY colourChanged)
    Q_PROPERTY(QColor qColor READ qColor WRITE setQColor NOTIFY colourChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY lookChanged)
    Q_PROPERTY(bool FocusRect READ FocusRect WRITE setFocusRect NOTIFY lookChanged)
    Q_PROPERTY(korva::FontSpec Font READ Font WRITE setFont NOTIFY lookChanged)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor NOTIFY lookChanged)
    Q_PROPERTY(qulonglong hWnd READ hWnd CONSTANT)
    Q_PROPERTY(uint MaskHLightColor READ MaskHLightColor WRITE setMaskHLightColor NOTIFY lookChanged)
    Q_PROPERTY(bool MousePosn READ MousePosn WRITE setMousePosn NOTIFY hoverChanged)
    Q_PROPERTY(int Palette READ Palette WRITE setPalette NOTIFY paletteChanged)
    Q_PROPERTY(korva::Picture Picture READ Picture WRITE setPicture NOTIFY lookChanged)
    Q_PROPERTY(
        korva::Picture PictureDisabled READ PictureDisabled WRITE setPictureDisabled NOTIFY lookChanged)
    Q_PROPERTY(bool PictureVisible READ PictureVisible WRITE setPictureVisible NOTIFY lookChanged)
    Q_PROPERTY(bool PopupEnabled READ PopupEnabled WRITE setPopupEnabled NOTIFY popupSettingsChanged)
    Q_PROPERTY(bool ShowButtonColor READ ShowButtonColor WRITE setShowButtonColor NOTIFY lookChanged)
    Q_PROPERTY(QString Text READ Text NOTIFY colourChanged)
    Q_PROPERTY(bool popupVisible READ popupVisible NOTIFY popupVisibleChanged)

public:
    Colors();
    ~Colors() override;

    // A new instance as the runtime delivers one to a form: Initialize,
    // InitProperties, then Resize.
    static std::unique_ptr<Colors> createNew();

    // The previewed cell while the button is held over the panel.
    uint32_t ActiveColor() const;
    QString ActiveText() const;
    // The face colour as stored (the system button face when BackcolorCustom).
    uint32_t BackColor() const;
    void setBackColor(uint32_t NewColor);
    bool BackcolorCustom() const;
    void setBackcolorCustom(bool on);
    // True while the pointer is over the button (bMOUSEPOSLOC is the same flag).
    bool MousePosn() const;
    void setMousePosn(bool on);
    // True: the panel's right edge lines up with the button's; false: the left edges.
    bool bPOSITIONDEFAULT() const;
    void setbPOSITIONDEFAULT(bool on);
    // A ButtonTypesdd value; kept and saved, every value gives the same face.
    int32_t ButtonType() const;
    void setButtonType(int32_t v);
    // Not drawn: its '&' marks the access key.
    QString Caption() const;
    void setCaption(const QString& sCaption);
    // The chosen colour as an OLE_COLOR, and the same as a QColor (system
    // colours translated).
    uint32_t Color() const;
    void setColor(uint32_t NewColor);
    QColor qColor() const;
    void setQColor(const QColor& c);
    bool Enabled() const;
    void setEnabled(bool NewEnabled);
    bool FocusRect() const;
    void setFocusRect(bool on);
    FontSpec Font() const;
    void setFont(const FontSpec& f);
    uint32_t ForeColor() const;
    void setForeColor(uint32_t c);
    quintptr hWnd() const;
    uint32_t MaskHLightColor() const;
    void setMaskHLightColor(uint32_t c);
    // An enZAVINPalette value. One outside 0..11 is refused: the layout,
    // the grids and the chosen colour stay as they were.
    int32_t Palette() const;
    void setPalette(int32_t v);
    korva::Picture Picture() const;
    void setPicture(const korva::Picture& p);
    korva::Picture PictureDisabled() const;
    void setPictureDisabled(const korva::Picture& p);
    bool PictureVisible() const;
    void setPictureVisible(bool on);
    bool PopupEnabled() const;
    void setPopupEnabled(bool on);
    bool ShowButtonColor() const;
    void setShowButtonColor(bool on);
    // The name of the chosen cell ("DARK RED").
    QString Text() const;

    // The palette as it stands: layout, grids, and the base, selected and active cells.
    const PaletteModel& paletteModel() const;

    bool popupVisible() const;
    // The drop-down panel's window (a top-level tool window, hidden while closed),
    // made now if it was not yet; the second answers nullptr until it is.
    QWidget* popupWidget() const;
    QWidget* popupWidgetIfMade() const;

public slots:
    void ShowPopUp();
    void HidePopUp();
    void SetTheme();
    void UserControl_Click();
    void UserControl_ExitFocus();
    void UserControlMouseOut(int16_t& Button, int16_t& Shift, float& X, float& Y);

signals:
    // Events, numbered 1..14 in this order on the event interface.
    void Change(uint32_t& sCOLORCHANGED);
    void ChangeCustom(uint32_t& sCOLORCHANGED);
    void Click();
    void DblClick();
    void FocusHidden();
    void FocusLost();
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii); // declared, never raised
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseOut(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void PopUp();

    // Property notifications.
    void activeCellChanged();
    void colourChanged();
    void lookChanged();
    void hoverChanged();
    void paletteChanged();
    void popupSettingsChanged();
    void popupVisibleChanged();

public:
    static const ClassInfo& staticClassInfo();

protected:
    void onInitialize() override;
    void onInitProperties() override;
    void onReadProperties(const PropertyBag& bag) override;
    void onWriteProperties(PropertyBag& bag) override;
    void onResize() override;
    void onLostFocus() override;
    void onExitFocus() override;
    void onTerminate() override;
    bool onNotify(Notification n, std::vector<Value>& args) override;
    InvokeStatus onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args,
                          Value& result) override;

private:
    std::unique_ptr<ColorsPrivate> d;
    friend class ColorsPrivate;
};

} // namespace korva
