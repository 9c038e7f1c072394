#include "designer/designer_classes_p.h"

#include "widgets/colors_widget.h"
#include "widgets/pages_widget.h"
#include "widgets/pane_widget.h"
#include "widgets/spin_widget.h"

namespace korva::designer {

namespace {

template <class W> QWidget* make(QWidget* parent) { return new W(parent); }

constexpr ClassRow kRows[] = {
    {"korva::PaneWidget", "widgets/pane_widget.h",
     "A picture button with a centred caption that reports Click", &make<PaneWidget>},
    {"korva::SpinWidget", "widgets/spin_widget.h",
     "A numeric entry box with up/down buttons, stepping by Interval between Min and Max", &make<SpinWidget>},
    {"korva::PagesWidget", "widgets/pages_widget.h",
     "A strip of tabs over a page: the tabs come from one tab string, clicking one makes it active",
     &make<PagesWidget>},
    {"korva::ColorsWidget", "widgets/colors_widget.h",
     "A colour-picker button whose drop-down panel offers named colours", &make<ColorsWidget>},
};

} // namespace

std::span<const ClassRow> classRows() { return kRows; }

} // namespace korva::designer
