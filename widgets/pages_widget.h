// PagesWidget: the Pages control as a widget (see control_widget.h), with the
// tab string, the active tab and the colours as properties Designer edits and
// .ui files store, and the control's events as signals.
#pragma once

#include "widgets/control_widget.h"

#include <cstdint>

namespace korva {

class Pages;

class KORVA_EXPORT PagesWidget : public ControlWidget {
    Q_OBJECT
    Q_PROPERTY(QString ActiveTabs READ ActiveTabs WRITE setActiveTabs NOTIFY ActiveTabsChanged)
    Q_PROPERTY(int ActiveTab READ ActiveTab WRITE setActiveTab NOTIFY ActiveTabChanged)
    Q_PROPERTY(quint32 ColorForm READ ColorForm WRITE setColorForm NOTIFY ColorFormChanged)
    Q_PROPERTY(quint32 PageColor READ PageColor WRITE setPageColor NOTIFY PageColorChanged)
    Q_PROPERTY(quint32 TextColor READ TextColor WRITE setTextColor NOTIFY TextColorChanged)
    Q_PROPERTY(QString TabColor READ TabColor WRITE setTabColor NOTIFY TabColorChanged)
public:
    explicit PagesWidget(QWidget* parent = nullptr);

    Pages* pages() const;

    QString ActiveTabs() const;
    void setActiveTabs(const QString& sSTRING);
    int ActiveTab() const;
    void setActiveTab(int Index);
    quint32 ColorForm() const;
    void setColorForm(quint32 c);
    quint32 PageColor() const;
    void setPageColor(quint32 c);
    quint32 TextColor() const;
    void setTextColor(quint32 c);
    QString TabColor() const;
    void setTabColor(const QString& s);

signals:
    void Click(const QString& TName);
    void dlbClick();
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
};

} // namespace korva
