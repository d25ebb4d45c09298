#include "view/draw_context.h"

#include "view/line_raster.h"

#include <algorithm>
#include <cstddef>

namespace {

// Sets the image's size (negative sizes count as 0) and gives its pixel count.
std::size_t TakeSize(Image& image, int width, int height) {
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

} // namespace

void Image::reset(int w, int h, std::uint32_t colour) { pixels.assign(TakeSize(*this, w, h), colour); }

void Image::resize(int w, int h) { pixels.resize(TakeSize(*this, w, h)); }

Pen DrawContext::SelectPen(Pen pen) {
    const Pen old = pen_;
    pen_ = pen;
    return old;
}

void DrawContext::LineTo(int x, int y) {
    if (pen_ == Pen::Black) {
        if (record_) record_->push_back({x_, y_, x, y});
        if (image_) RasterizeLine(*image_, x_, y_, x, y, Image::kBlack);
    }
    x_ = x;
    y_ = y;
}

void DrawContext::DrawSegments(const Segment* segments, std::size_t count) {
    if (count == 0) return;
    if (pen_ == Pen::Black) {
        if (record_) record_->insert(record_->end(), segments, segments + count);
        if (image_) {
            const PixelCanvas canvas{image_->pixels.data(), Image::kBlack};
            const int width = image_->width, height = image_->height;
            for (const Segment* s = segments; s != segments + count; ++s)
                Walk(LineWalkOn(width, height, s->x1, s->y1, s->x2, s->y2), canvas);
        }
    }
    x_ = segments[count - 1].x2;
    y_ = segments[count - 1].y2;
}
