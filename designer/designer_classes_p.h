// The rows of Designer's "korvactl" widget box group: one per control class.
// Adding a control to Designer is one row in designer_classes.cpp.
#pragma once

#include <QWidget>

#include <span>

namespace korva::designer {

struct ClassRow {
    const char* className; // the widget class, as .ui files and uic name it
    const char* header;    // what uic-generated code includes
    const char* toolTip;   // one line for the widget box
    QWidget* (*create)(QWidget* parent);
};

std::span<const ClassRow> classRows();

} // namespace korva::designer
