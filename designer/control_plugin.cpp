// The Qt Designer plugin: one collection offering every row of
// designer_classes.cpp in the widget box group "korvactl". Properties come
// from each widget's Q_PROPERTY declarations; the widget box icon is the
// control itself, rendered small, so it never goes stale.
#include "designer/designer_classes_p.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>
#include <QPixmap>

#include <memory>

namespace korva::designer {

class ControlPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    ControlPlugin(const ClassRow& row, QObject* parent) : QObject(parent), row_(row) {}

    QString name() const override { return QString::fromLatin1(row_.className); }
    QString group() const override { return QStringLiteral("korvactl"); }
    QString toolTip() const override { return QString::fromUtf8(row_.toolTip); }
    QString whatsThis() const override { return toolTip(); }
    QString includeFile() const override { return QString::fromLatin1(row_.header); }
    bool isContainer() const override { return false; }
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface*) override { initialized_ = true; }
    QWidget* createWidget(QWidget* parent) override { return row_.create(parent); }

    QIcon icon() const override {
        const std::unique_ptr<QWidget> sample(row_.create(nullptr));
        const QPixmap shot = sample->grab();
        return QIcon(shot.scaled(22, 22, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    QString domXml() const override {
        const std::unique_ptr<QWidget> sample(row_.create(nullptr));
        const QSize size = sample->sizeHint();
        QString object = name().section(QStringLiteral("::"), -1);
        object[0] = object[0].toLower();
        return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">"
                              "<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                              "<width>%3</width><height>%4</height></rect></property>"
                              "</widget></ui>")
            .arg(name(), object)
            .arg(size.width())
            .arg(size.height());
    }

private:
    const ClassRow& row_;
    bool initialized_ = false;
};

class ControlCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit ControlCollection(QObject* parent = nullptr) : QObject(parent) {
        for (const ClassRow& row : classRows())
            widgets_.append(new ControlPlugin(row, this));
    }
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};

} // namespace korva::designer

#include "control_plugin.moc"
