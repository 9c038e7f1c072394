#include "host/form_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>

namespace korva::host {

FormWindow::FormWindow(FormHost& form, const QString& path) : form_(form), path_(path) {
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(form_.surface());
    setCentralWidget(scroll_);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { saveTo(path_); });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] {
        const QString p =
            QFileDialog::getSaveFileName(this, tr("Save form"), path_, tr("Forms (*.form);;All files (*)"));
        if (!p.isEmpty() && saveTo(p)) {
            path_ = p;
            updateTitle();
        }
    });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    updateTitle();
    const QSize surface = form_.surface()->size();
    resize(std::max(320, surface.width() + 40), std::max(200, surface.height() + 80));
}

FormWindow::~FormWindow() {
    // The surface belongs to the form, which releases its controls first.
    scroll_->takeWidget();
    form_.surface()->setParent(nullptr);
}

void FormWindow::showLastEvent(const QString& line) { statusBar()->showMessage(line); }

bool FormWindow::saveTo(const QString& path) {
    QString error;
    if (!form_.save(path, &error)) {
        QMessageBox::warning(this, tr("Save form"), error);
        return false;
    }
    statusBar()->showMessage(tr("Saved %1").arg(path));
    return true;
}

void FormWindow::updateTitle() {
    setWindowTitle(QStringLiteral("%1 - korvahost").arg(QFileInfo(path_).fileName()));
}

bool saveScreenshot(FormHost& form, const QString& path, QString* error) {
    QWidget* surface = form.surface();
    surface->show();
    QApplication::processEvents();
    if (!surface->grab().save(path, "PNG")) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace korva::host
