#pragma once

#include <QImage>

namespace nolvea {

// A soft blur of about Gaussian shape (three box passes each way) with standard deviation
// `radius` pixels; the image is taken as premultiplied ARGB.
QImage blurred(const QImage& image, double radius);

} // namespace nolvea
