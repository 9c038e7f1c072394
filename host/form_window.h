// Showing a form: a window with the form and a File menu to save it, or an
// offscreen rendering of it to a PNG.
#pragma once

#include "host/form_host.h"

#include <QMainWindow>

class QLabel;
class QScrollArea;

namespace korva::host {

class FormWindow : public QMainWindow {
    Q_OBJECT
public:
    FormWindow(FormHost& form, const QString& path);
    // Hands the form's surface back to the form before the window goes.
    ~FormWindow() override;

    // Shows the last event in the status bar.
    void showLastEvent(const QString& line);

private:
    bool saveTo(const QString& path);
    void updateTitle();

    FormHost& form_;
    QString path_;
    QScrollArea* scroll_ = nullptr;
};

// Renders the form's surface, shown offscreen, to a PNG file.
bool saveScreenshot(FormHost& form, const QString& path, QString* error);

} // namespace korva::host
