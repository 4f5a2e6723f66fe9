#pragma once
// Screen tests run on two offscreen screens of the sizes the pages must fit, side by side, with
// window frames: a laptop's 1366x768 and a desk monitor's 1600x1000.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// Writes the screens' configuration into `dir` and points the platform at it; call before the
// application is made and keep `dir` until it is gone. False when the file could not be written.
// With VELORIN_SCREEN_SCALE set (1.25, 1.5) the program is scaled as a desktop's display setting
// scales it, on a 1920x1080 monitor and a 2560x1440 one.
inline bool useTwoOffscreenScreens(const QTemporaryDir& dir) {
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    const QByteArray scale = qgetenv("VELORIN_SCREEN_SCALE");
    if (!scale.isEmpty()) {
        qputenv("QT_SCALE_FACTOR", scale);
        config.write(R"({"windowFrameMargins": true, "screens": [
        {"name": "full-hd", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},
        {"name": "qhd", "x": 1920, "y": 0, "width": 2560, "height": 1440, "logicalDpi": 96}]})");
    } else {
        config.write(R"({"windowFrameMargins": true, "screens": [
        {"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96},
        {"name": "desk", "x": 1366, "y": 0, "width": 1600, "height": 1000, "logicalDpi": 96}]})");
    }
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    return true;
}
