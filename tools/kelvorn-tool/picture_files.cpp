#include "picture_files.h"

#if KELVORN_PNG_WITH_QT
#include <QImage>
#include <QImageWriter>
#include <QString>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct FormatName {
    std::string_view extension; // lower case, without the dot
    PictureFormat format;
    const char* writerName; // Qt's name of the format
};

constexpr FormatName kFormatNames[] = {
    {"png", PictureFormat::Png, "png"}, {"jpg", PictureFormat::Jpeg, "jpeg"}, {"jpeg", PictureFormat::Jpeg, "jpeg"},
    {"bmp", PictureFormat::Bmp, "bmp"}, {"ppm", PictureFormat::Ppm, "ppm"},   {"svg", PictureFormat::Svg, nullptr},
};

bool SameLetters(std::string_view lower, std::string_view text) {
    if (lower.size() != text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (lower[i] != (text[i] >= 'A' && text[i] <= 'Z' ? text[i] + 32 : text[i])) return false;
    return true;
}

} // namespace

const char* const kPictureExtensions = ".png, .jpg, .jpeg, .bmp, .ppm or .svg";

PictureFormat PictureFormatOf(std::string_view path) {
    const std::size_t dot = path.find_last_of("./\\");
    if (dot == std::string_view::npos || path[dot] != '.') return PictureFormat::Unknown;
    for (const FormatName& name : kFormatNames)
        if (SameLetters(name.extension, path.substr(dot + 1))) return name.format;
    return PictureFormat::Unknown;
}

#if KELVORN_PNG_WITH_QT
bool WriteRasterPicture(const Image& image, PictureFormat format, const char* path, std::string& error) {
    // Image pixels are 0xAARRGGBB words, QImage's RGB32 layout; the QImage
    // only borrows them.
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    const char* writerName = "png";
    for (const FormatName& name : kFormatNames)
        if (name.format == format) writerName = name.writerName;
    QImageWriter writer(QString::fromLocal8Bit(path), writerName);
    if (format == PictureFormat::Jpeg) writer.setQuality(95); // one-pixel lines stay crisp
    if (writer.write(picture)) return true;
    error = writer.errorString().toStdString();
    return false;
}
#else
bool WriteRasterPicture(const Image&, PictureFormat, const char*, std::string& error) {
    error = "this build writes SVG files only (the other formats need Qt, which the Windows build has not)";
    return false;
}
#endif

bool WriteSvg(int width, int height, const std::vector<Segment>& segments, const char* path, std::string& error) {
    std::FILE* out = std::fopen(path, "w");
    if (!out) {
        error = std::strerror(errno);
        return false;
    }
    std::fprintf(out,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                 "shape-rendering=\"crispEdges\">\n"
                 "<rect width=\"%d\" height=\"%d\" fill=\"white\"/>\n"
                 "<g stroke=\"black\" stroke-width=\"1\" transform=\"translate(0.5 0.5)\">\n",
                 width, height, width, height, width, height);
    for (const Segment& s : segments)
        std::fprintf(out, "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"/>\n", s.x1, s.y1, s.x2, s.y2);
    std::fprintf(out, "</g>\n</svg>\n");
    const bool failed = std::ferror(out) != 0;
    const int reason = errno;
    if (std::fclose(out) != 0 || failed) {
        error = std::strerror(failed ? reason : errno);
        return false;
    }
    return true;
}
