// The Pages control's inside: its elements, settings and the operations the
// public members, the input handlers and the persistence share.
#pragma once

#include "pages/pages.h"
#include "pages/strip_items_p.h"
#include "pages/strip_p.h"

#include <QPointer>

#include <cstdint>
#include <vector>

namespace korva {

class PictureBoxElement;

namespace pages {
inline constexpr int32_t kNoHover = -99;
}

class PagesPrivate : public QObject {
public:
    explicit PagesPrivate(Pages& q);
    ~PagesPrivate() override;

    // --- tab list (pages_tabs.cpp) ---
    void AddTab(const QString& sCaption);
    void RemoveTab(int32_t i);
    void ClearTabs();
    void RebuildTabs();
    void setActiveTabs(const QString& s);
    int32_t highestTab() const { return static_cast<int32_t>(left.size()); }
    QString captionOf(int64_t i) const;

    // --- layout and looks (pages_tabs.cpp) ---
    void LayoutTabs();
    void ShowTabState(int32_t Index);
    void SelectTab(int32_t& Index, int16_t Button);
    void resizeHandling();
    int32_t readActiveTab() {
        rememberedTab = activeTab;
        return activeTab;
    }
    void letActiveTab(int32_t Index);

    // --- pictures (pages_looks.cpp) ---
    void Refresh();
    void ImageDis();
    void ImageHLight();
    void ImageSel();
    // What each look's boxes show once painted (see Refresh).
    void showDis();
    void showSel();
    void showHLight();
    // The control's background, as the pictures' corners mix with it.
    uint32_t backColour() const;
    // What a refresh reads and what it leaves in the elements it paints.
    uint64_t refreshStamp() const;

    // --- input (pages_input.cpp) ---
    void wireElements();
    void tabPress(int32_t i, int16_t button);
    void pieceMove(int16_t button);
    void TrackHover(pages::TabPicture* piece, float x, float y, int32_t i);
    void ObjectMouseUp();
    void releaseCapture();
    bool keyDown(int16_t keyCode, int16_t shift);
    void step(bool forward);
    void gotFocus();
    void raiseClick(const QString& caption);
    void raiseShow();
    void raiseDblClick();
    void raiseMouseDown(int16_t button, const QString& caption);
    void raiseMouseMoveOrUp(bool up, int16_t button);

    bool eventFilter(QObject* watched, QEvent* event) override;

    void setColorFormMember(uint32_t c);
    void setTabColorMember(const QString& s);

    Pages& q;
    // A child of the control's window, which a container may delete first.
    QPointer<pages::Strip> strip;

    // Settings and state.
    QString tabString;
    int32_t tabCount = 0;
    int32_t rememberedTab = 0;
    int32_t activeTab = 0;
    int32_t hoverTab = pages::kNoHover;
    int32_t tabGap = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t colorForm = 0;
    uint32_t pageColor = 0;
    uint32_t pageFill = 0;
    uint32_t textColor = 0;
    int32_t backColorTAB = 0;
    QString tabColor;
    FontSpec controlFont;

    // Elements. The tab families hold index i at position i - 1.
    pages::TabPicture* leftTemplate = nullptr;
    pages::TabPicture* capTemplate = nullptr;
    pages::TabPicture* rightTemplate = nullptr;
    pages::TabLabel* labelTemplate = nullptr;
    std::vector<pages::TabPicture*> left, cap, right;
    std::vector<pages::TabLabel*> label;

    pages::PageShape* shpBORDER = nullptr;
    pages::PageShape* shpTOP = nullptr;
    pages::PageShape* shpTOP2 = nullptr;
    pages::PageShape* shpLEFTINS = nullptr;
    pages::PageShape* shpLEFTINSHL = nullptr;
    pages::BackTarget* picBACKTARGET = nullptr;

    PictureBoxElement* picTABLEFT = nullptr;
    PictureBoxElement* picTABCAP = nullptr;
    PictureBoxElement* picTABRIGHT = nullptr;
    PictureBoxElement* picTABLEFTHOV = nullptr;
    PictureBoxElement* picTABCAPHOV = nullptr;
    PictureBoxElement* picTABRIGHTHOV = nullptr;
    PictureBoxElement* picTABSELLEFT = nullptr;
    PictureBoxElement* picTABSELCAP = nullptr;
    PictureBoxElement* picTABSELRIGHT = nullptr;

private:
    void createElements();
    template <class E> E* loadTabElement(E* tmpl, std::vector<E*>& family);
    template <class E> void unloadTabElement(E* tmpl, std::vector<E*>& family, int32_t i);
    void showLook(int32_t i, bool selected);
    void showHover(int32_t i);
    bool holdsNormalLook(int32_t i) const;
    void markDirty(int32_t i);

    // Tabs that may hold something other than the current normal look. A tab
    // outside this list holds it, and the state painter has nothing to do
    // there; so a painter run costs the tabs that change, not all of them.
    std::vector<int32_t> dirty_;
    std::vector<char> isDirty_;
    bool sweepAll_ = true;
    // The stamp the last refresh left (see Refresh).
    uint64_t refreshed_ = 0;
};

} // namespace korva
