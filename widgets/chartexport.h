#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Prompter;
class QAction;
class QImage;
class QWidget;

// "Save as PNG…" and "Copy" in a chart's context menu. The picture is the chart as it is on the
// screen; the file goes through the checked save path, so a full disk or a folder that cannot
// be written is reported and never leaves half a file. Made a child of the chart it serves.
class ChartExport : public QObject {
    Q_OBJECT

  public:
    using Renderer = std::function<QImage()>;

    // baseName: the file name offered ("trend" offers "trend.png"). render: the picture; the
    // chart's own rendering (grab()) when empty.
    ChartExport(QWidget* chart, const QString& baseName, Renderer render = {});

    // Where the file dialog and the error go; the real dialogs when null.
    void setPrompter(Prompter* prompter);

    QAction* saveAction() const { return save_; }
    QAction* copyAction() const { return copy_; }

    // Asks for a file and writes the picture there. False when cancelled or not written.
    bool saveAsPng();
    void copyToClipboard();

    // The picture as PNG at path through SafeFile; false with the reason in *error.
    static bool writePng(const QImage& image, const QString& path, QString* error = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void retranslate();
    QImage render() const;

    QWidget* chart_;
    QString baseName_;
    Renderer render_;
    Prompter* prompter_;
    QAction* save_;
    QAction* copy_;
};
