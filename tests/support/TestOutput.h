#pragma once

#include <QString>

class QImage;

// Where a failing test leaves what it saw, so the failure can be looked at.
namespace TestOutput {
QString directory();
// Saves the image as <directory>/<name>.png and returns the path.
QString save(const QImage& image, const QString& name);
} // namespace TestOutput
