#include "support/TestOutput.h"

#include <QDir>
#include <QImage>

QString TestOutput::directory() {
    QString path = qEnvironmentVariable("OSTRABEL_TEST_OUTPUT");
    if (path.isEmpty()) {
        path = QDir::temp().filePath(QStringLiteral("ostrabel-test-output"));
    }
    QDir().mkpath(path);
    return path;
}

QString TestOutput::save(const QImage& image, const QString& name) {
    const QString path = QDir(directory()).filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}
