#include "widgets/pages_widget.h"

#include "pages/pages.h"

namespace korva {

PagesWidget::PagesWidget(QWidget* parent) : ControlWidget(Pages::createNew(), parent) { relaySignals(); }

Pages* PagesWidget::pages() const { return static_cast<Pages*>(control()); }

QString PagesWidget::ActiveTabs() const { return pages()->ActiveTabs(); }
void PagesWidget::setActiveTabs(const QString& sSTRING) { pages()->setActiveTabs(sSTRING); }
int PagesWidget::ActiveTab() const { return pages()->ActiveTab(); }
void PagesWidget::setActiveTab(int Index) { pages()->setActiveTab(Index); }
quint32 PagesWidget::ColorForm() const { return pages()->ColorForm(); }
void PagesWidget::setColorForm(quint32 c) { pages()->setColorForm(c); }
quint32 PagesWidget::PageColor() const { return pages()->PageColor(); }
void PagesWidget::setPageColor(quint32 c) { pages()->setPageColor(c); }
quint32 PagesWidget::TextColor() const { return pages()->TextColor(); }
void PagesWidget::setTextColor(quint32 c) { pages()->setTextColor(c); }
QString PagesWidget::TabColor() const { return pages()->TabColor(); }
void PagesWidget::setTabColor(const QString& s) { pages()->setTabColor(s); }

} // namespace korva
