// The private side of Colors: its elements, its stored members and the
// procedures behind the button, the drop-down panel and persistence. The
// palette itself (grids, cells, lookups) is PaletteModel; the panel's
// geometry is panel_geometry.h. Sources:
//   colors.cpp          construction, lifecycle, members, persistence
//   colors_panel.cpp    the drop-down: sizing, painting, placement, pointer, keys
//   colors_button.cpp   the face: layout, themes, swatch, access key, pictures
//   colors_dispatch.cpp the dispatch interface: members, events, invoke
#pragma once

#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "colors/panel_geometry_p.h"
#include "frame/values/value.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class QShortcut;

namespace korva {

class clsm_TIMER;
class CommandButtonElement;
class LabelElement;
class PictureBoxElement;
class ShapeElement;

// Event numbers on __Colors.
enum ColorsEvent : int32_t {
    kEvChange = 1,
    kEvChangeCustom = 2,
    kEvClick = 3,
    kEvDblClick = 4,
    kEvFocusHidden = 5,
    kEvFocusLost = 6,
    kEvKeyDown = 7,
    kEvKeyPress = 8,
    kEvKeyUp = 9,
    kEvMouseDown = 10,
    kEvMouseMove = 11,
    kEvMouseOut = 12,
    kEvMouseUp = 13,
    kEvPopUp = 14,
};

// The access key a caption gives: the character after the first '&' that is
// not part of a doubled "&&", in lower case; empty when there is none.
QString AccessKeyOf(const QString& caption);

class ColorsPrivate {
public:
    explicit ColorsPrivate(Colors& q);
    ~ColorsPrivate();

    // --- construction (colors.cpp)
    void createElements();
    void wireElements();

    // --- reporting and events (colors.cpp)
    void report(const char* key);
    void raise(ColorsEvent number);
    void raiseColour(ColorsEvent number, uint32_t colour);
    void raiseKey(ColorsEvent number, int16_t& keyCode, int16_t& shift);
    void raiseMouse(ColorsEvent number, int16_t& button, int16_t& shift, float& x, float& y);
    // For the fixed arguments the control passes itself, e.g. MouseUp(1, 0, 0, 0).
    void raiseMouseCopy(ColorsEvent number, int16_t button, int16_t shift, float x, float y) {
        raiseMouse(number, button, shift, x, y);
    }
    uint32_t systemColour(int index) const;

    // --- selection (colors_panel.cpp)
    void SetActive(const ColorCell& cell);
    void SelectCell(const ColorCell& cell);
    void ChooseCustomColor();

    // --- the drop-down (colors_panel.cpp)
    void SizePanel(const PaletteModel& m);
    void paintCells();
    void paintShades();
    void drawSeparator();
    void placePanel();
    bool panelVisible() const;
    bool insidePanelClient(float x, float y) const;
    void panelMouseMove(int16_t button, int16_t shift, float x, float y);
    void panelMouseDown(int16_t button, int16_t shift, float x, float y);
    void panelMouseUp(int16_t button, int16_t shift, float x, float y);
    void panelKeyPress();
    void panelLostFocus();
    void followPointer(const ColorCell& cell, int16_t button);
    void showPopUp();
    void hidePopUp();
    // Releases the mouse capture when this control (its window or its panel) holds it.
    void releaseCapture();

    // --- the button (colors_button.cpp)
    void layout();
    void setTheme();
    void updateSwatch();
    void updatePictures();
    void setAccessKey();
    void clickSequence();
    void buttonMouseDown(int16_t button, int16_t shift, float x, float y);
    void buttonMouseMove(int16_t button, int16_t shift, float x, float y);
    void buttonMouseUp(int16_t button, int16_t shift, float x, float y);
    void buttonDblClick();
    void buttonKeyDown(int16_t& keyCode, int16_t& shift);
    void buttonKeyPress();
    void buttonKeyUp(int16_t& keyCode, int16_t& shift);
    void mouseOut(int16_t& button, int16_t& shift, float& x, float& y);
    void letBackColor(uint32_t colour);
    void setPicture(const Picture& p);
    void setPictureDisabled(const Picture& p);
    void recolour(PictureBoxElement& box, bool disabledRule);

    Colors& q;
    PaletteModel model;

    // Stored members.
    uint32_t backColor = 0;
    bool backcolorCustom = false;
    bool mousePosn = false;
    bool positionDefault = true;
    int32_t buttonType = 1;
    QString caption;
    uint32_t color = 0;
    bool enabled = true;
    bool focusRect = true;
    FontSpec font;        // the Font property
    FontSpec controlFont; // the control's own font
    uint32_t foreColor = 0;
    uint32_t maskHLight = 0;
    bool pictureVisible = false;
    bool popupEnabled = true;
    bool showButtonColor = true;
    QString tooltip;
    QString accessKey;

    // Interaction state.
    bool buttonDown = false;
    int32_t lastButton = 1;
    int16_t lastKeyDown = 0;
    uint32_t faceColour = 0;
    // Set while this control hides its own panel, so the focus leaving the
    // hidden window is not taken for the user moving away.
    bool hidingPanel = false;
    bool separatorPending = false; // the panel's bar waits for the panel to open

    std::unique_ptr<clsm_TIMER> cls_TIMER;
    QPointer<QShortcut> accessShortcut;

    // The face.
    CommandButtonElement* cmdMAINBTN = nullptr;
    PictureBoxElement* picfraCOLOR = nullptr;
    ShapeElement* shpCOLOR = nullptr;
    ShapeElement* shpBORDERDIS = nullptr;
    PictureBoxElement* picsepBAR = nullptr;
    PictureBoxElement* picIMAGEBOX = nullptr;
    PictureBoxElement* fraIMAGEBOXDIS = nullptr;
    PictureBoxElement* picIMAGEBOXDIS = nullptr;
    // The drop-down.
    PictureBoxElement* picDROPDOWNPANEL = nullptr;
    ShapeElement* shpEDGE = nullptr;
    ShapeElement* shpBORDER = nullptr;
    PictureBoxElement* picfraSEPBAR = nullptr;
    PictureBoxElement* lblCUSTOM1 = nullptr;
    LabelElement* lblCUSTOM = nullptr;
};

} // namespace korva
