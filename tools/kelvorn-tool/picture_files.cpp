#include "picture_files.h"

#if KELVORN_PNG_WITH_QT
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#endif


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
bool EncodeRasterPicture(const Image& image, PictureFormat format, std::string& bytes, std::string& error) {
    // Image pixels are 0xAARRGGBB words, QImage's RGB32 layout; the QImage
    // only borrows them.
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    const char* writerName = "png";
    for (const FormatName& name : kFormatNames)
        if (name.format == format) writerName = name.writerName;
    // Into memory: the file itself is written by the tool, which can say why
    // a write fails in the system's words.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, writerName);
    if (format == PictureFormat::Jpeg) writer.setQuality(95); // one-pixel lines stay crisp
    if (!writer.write(picture)) {
        error = writer.errorString().toStdString();
        return false;
    }
    bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}
#else
bool EncodeRasterPicture(const Image&, PictureFormat, std::string&, std::string& error) {
    error = "this build writes SVG files only (the other formats need Qt, which the Windows build has not)";
    return false;
}
#endif

std::string SvgText(int width, int height, const std::vector<Segment>& segments) {
    const std::string w = std::to_string(width), h = std::to_string(height);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                       "\" viewBox=\"0 0 " + w + " " + h + "\" shape-rendering=\"crispEdges\">\n"
                       "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n"
                       "<g stroke=\"black\" stroke-width=\"1\" transform=\"translate(0.5 0.5)\">\n";
    for (const Segment& s : segments)
        text += "<line x1=\"" + std::to_string(s.x1) + "\" y1=\"" + std::to_string(s.y1) + "\" x2=\"" +
                std::to_string(s.x2) + "\" y2=\"" + std::to_string(s.y2) + "\"/>\n";
    return text + "</g>\n</svg>\n";
}
