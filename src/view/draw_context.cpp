#include "view/draw_context.h"

#include "view/line_raster.h"

#include <algorithm>
#include <cstddef>

void Image::reset(int w, int h, std::uint32_t colour) {
    resize(w, h);
    std::fill(pixels.begin(), pixels.end(), colour);
}

void Image::resize(int w, int h) {
    width = std::max(w, 0);
    height = std::max(h, 0);
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

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
