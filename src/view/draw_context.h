// The drawing context that painting goes through: select a pen, move to a
// point, draw a line to a point. A context draws into an image, records the
// segments, or both; the window shows the image, so a window and a headless
// render show the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// 32-bit pixels 0xAARRGGBB, row by row from the top.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    static constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
    static constexpr std::uint32_t kBlack = 0xFF000000u;

    // Sizes the image to width × height (negative sizes count as 0) and fills it with `colour`.
    void reset(int width, int height, std::uint32_t colour = kWhite);
    // Sizes the image as reset does but leaves its pixels as they are (new
    // ones 0): for a caller that then sets every one.
    void resize(int width, int height);
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// One drawn line: from the move-to point (x1, y1) to the line-to point (x2, y2).
struct Segment {
    int x1, y1, x2, y2;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// The stock pens. A null pen draws nothing.
enum class Pen { Null, Black };

class DrawContext {
public:
    // Either sink may be null. The context starts with the black pen at (0, 0).
    explicit DrawContext(Image* image, std::vector<Segment>* record = nullptr) : image_(image), record_(record) {}

    // Selects `pen` and returns the pen it replaces.
    Pen SelectPen(Pen pen);
    // Sets the current position without drawing.
    void MoveTo(int x, int y) {
        x_ = x;
        y_ = y;
    }
    // Draws from the current position to (x, y) with the current pen, as the
    // Windows LineTo does: the start point drawn, the end point not, clipped
    // to the image (pixel rules in view/line_raster.h). (x, y) becomes the
    // current position. With the black pen the segment is also recorded, a
    // zero-length one too (it draws no pixel); the null pen neither draws nor
    // records.
    void LineTo(int x, int y);

    // The same as MoveTo(s.x1, s.y1) then LineTo(s.x2, s.y2) for each of the
    // `count` segments in order, with the pen looked at once: for painting
    // many short lines fast.
    void DrawSegments(const Segment* segments, std::size_t count);

    // The image when the context only draws into one, with the black pen:
    // then the order of the lines does not matter, since every pixel they
    // touch becomes the same black. Null when it records or the pen is null.
    Image* OnlyImage() const { return pen_ == Pen::Black && record_ == nullptr ? image_ : nullptr; }

private:
    Image* image_;
    std::vector<Segment>* record_;
    Pen pen_ = Pen::Black;
    int x_ = 0, y_ = 0;
};
