// Pages: a strip of tabs over a page area. The tabs come from one tab string
// (ActiveTabs, "1,2,3" for a new control: fields separated by commas or line
// breaks), one tab is active, and each tab shows a normal, hover or selected
// look painted by the control itself with gradients, outlines and shaded
// corners. Clicking a tab or stepping with the arrow keys (Ctrl+Tab,
// Ctrl+Shift+Tab) makes it active and raises Click.
//
//   auto pages = korva::Pages::createNew();        // Initialize, InitProperties, Resize
//   pages->setActiveTabs("Home,Settings,Help");
//   layout->addWidget(pages->widget());
//   QObject::connect(pages.get(), &korva::Pages::Click, [](const QString& tab) { ... });
//
// The lifecycle notification Show() of Control is hidden here by the event of
// the same name; reach it through a Control reference.
#pragma once

#include "frame/runtime/control.h"

#include <memory>

namespace korva {

class PagesPrivate;

class KORVA_EXPORT Pages : public Control {
    Q_OBJECT
    Q_PROPERTY(int ActiveTab READ ActiveTab WRITE setActiveTab NOTIFY ActiveTabChanged)
    Q_PROPERTY(QString ActiveTabs READ ActiveTabs WRITE setActiveTabs NOTIFY ActiveTabsChanged)
    Q_PROPERTY(quint32 ColorForm READ ColorForm WRITE setColorForm NOTIFY ColorFormChanged)
    Q_PROPERTY(quint32 PageColor READ PageColor WRITE setPageColor NOTIFY PageColorChanged)
    Q_PROPERTY(quint32 TextColor READ TextColor WRITE setTextColor NOTIFY TextColorChanged)
    Q_PROPERTY(QString TabColor READ TabColor WRITE setTabColor NOTIFY TabColorChanged)
public:
    Pages();
    ~Pages() override;

    // A new instance as the runtime delivers one to a form: Initialize,
    // first-time defaults, then Resize.
    static std::unique_ptr<Pages> createNew();

    // Index of the active tab; any number is accepted, also one that names
    // no tab. Reading it is remembered: a rebuild of the tab list restores
    // the index last read.
    int32_t ActiveTab() const;
    void setActiveTab(int32_t Index);
    // The tab string, as given.
    QString ActiveTabs() const;
    void setActiveTabs(const QString& sSTRING);
    // Appends a tab without changing the tab string; it is placed by the next layout pass.
    Q_INVOKABLE void AddTab(const QString& sCaption);

    uint32_t ColorForm() const;
    void setColorForm(uint32_t c);
    uint32_t PageColor() const;
    void setPageColor(uint32_t c);
    uint32_t TextColor() const;
    void setTextColor(uint32_t c);
    QString TabColor() const;
    void setTabColor(const QString& s);

    // Rebuilds the look pictures and recolours the page frame.
    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void ImageDis();
    Q_INVOKABLE void ImageHLight();
    Q_INVOKABLE void ImageSel();
    // Ends a hover look and releases the mouse.
    Q_INVOKABLE void ObjectMouseUp();

    // Number of tabs as of the last layout pass (a tab added since is not counted yet).
    int32_t TabCount() const;
    // The index a rebuild returns to: ActiveTab as last read.
    int32_t RememberedTab() const;
    // The tab under the mouse, -99 for none.
    int32_t HoverTab() const;

    static const ClassInfo& staticClassInfo();

signals:
    void Click(const QString& TName);
    void dlbClick();
    // By reference: what a handler leaves in an argument is what the control keeps.
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y, QString& ActiveTab);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void Show();

    void ActiveTabChanged(int ActiveTab);
    void ActiveTabsChanged(const QString& ActiveTabs);
    void ColorFormChanged(quint32 ColorForm);
    void PageColorChanged(quint32 PageColor);
    void TextColorChanged(quint32 TextColor);
    void TabColorChanged(const QString& TabColor);

protected:
    void onInitProperties() override;
    void onReadProperties(const PropertyBag& bag) override;
    void onWriteProperties(PropertyBag& bag) override;
    void onResize() override;
    void onGotFocus() override;
    bool onNotify(Notification n, std::vector<Value>& args) override;
    InvokeStatus onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args,
                          Value& result) override;

private:
    std::unique_ptr<PagesPrivate> d;
    friend class PagesPrivate;
    friend class PagesAccessible;
};

} // namespace korva
