#include "chartexport.h"

#include "prompter.h"
#include "safefile.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

ChartExport::ChartExport(QWidget* chart, const QString& baseName, Renderer render)
    : QObject(chart), chart_(chart), baseName_(baseName), render_(std::move(render)),
      prompter_(Prompter::standard()), save_(new QAction(chart)), copy_(new QAction(chart)) {
    save_->setObjectName(QStringLiteral("action_saveChartPng"));
    copy_->setObjectName(QStringLiteral("action_copyChart"));
    chart->addAction(save_);
    chart->addAction(copy_);
    chart->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(save_, &QAction::triggered, this, [this] { saveAsPng(); });
    connect(copy_, &QAction::triggered, this, &ChartExport::copyToClipboard);
    chart->installEventFilter(this);
    retranslate();
}

void ChartExport::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
}

void ChartExport::retranslate() {
    save_->setText(tr("Save as PNG…"));
    copy_->setText(tr("Copy"));
}

bool ChartExport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart_ && event->type() == QEvent::LanguageChange)
        retranslate();
    return QObject::eventFilter(watched, event);
}

QImage ChartExport::render() const {
    return render_ ? render_() : chart_->grab().toImage();
}

bool ChartExport::writePng(const QImage& image, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        if (error)
            *error = tr("The chart could not be made into an image.");
        return false;
    }
    return saveFile(path, bytes, error);
}

bool ChartExport::saveAsPng() {
    const QString path = prompter_->saveFileName(
        chart_, tr("Save chart"), baseName_ + QStringLiteral(".png"), tr("PNG image (*.png)"));
    if (path.isEmpty())
        return false;
    QString why;
    if (writePng(render(), path, &why))
        return true;
    prompter_->warning(chart_, tr("Error"),
                       tr("The chart could not be saved to %1.").arg(path) +
                           (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
    return false;
}

void ChartExport::copyToClipboard() {
    QGuiApplication::clipboard()->setImage(render());
}
