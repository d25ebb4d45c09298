#include "picture_files.h"

#if KELVORN_PNG_WITH_QT
#include <QImage>
#include <QImageWriter>
#include <QString>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

#if KELVORN_PNG_WITH_QT
bool WritePng(const Image& image, const char* path, std::string& error) {
    // Image pixels are 0xAARRGGBB words, QImage's RGB32 layout; the QImage
    // only borrows them.
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
    QImageWriter writer(QString::fromLocal8Bit(path), "png");
    if (writer.write(picture)) return true;
    error = writer.errorString().toStdString();
    return false;
}
#else
bool WritePng(const Image&, const char*, std::string& error) {
    error = "this build writes no PNG files (they need Qt, which the Windows build has not); name an .svg file";
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
