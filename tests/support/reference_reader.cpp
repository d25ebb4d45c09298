#include "support/reference_reader.h"

#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

// One character of a text-mode stream: a CR right before an LF disappears.
int GetTextChar(std::FILE* f) {
    const int c = std::getc(f);
    if (c != '\r') return c;
    const int next = std::getc(f);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, f);
    return '\r';
}

// fgets over GetTextChar: at most size - 1 characters, up to and including an LF.
char* GetTextLine(char* buffer, int size, std::FILE* f) {
    int n = 0;
    while (n < size - 1) {
        const int c = GetTextChar(f);
        if (c == EOF) break;
        buffer[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (n == 0) return nullptr;
    buffer[n] = '\0';
    return buffer;
}

int CountFaceLines(std::FILE* f) {
    char line[256];
    int count = 0;
    while (GetTextLine(line, 256, f))
        if (std::strncmp(line, "3DFACE", 6) == 0) ++count;
    return count;
}

double* Coordinate(Face& face, int k) {
    double* table[4][3] = {{&face.A.x, &face.A.y, &face.A.z},
                           {&face.B.x, &face.B.y, &face.B.z},
                           {&face.C.x, &face.C.y, &face.C.z},
                           {&face.D.x, &face.D.y, &face.D.z}};
    if (k < 10 || k > 33 || k % 10 > 3) return nullptr;
    return table[k % 10][k / 10 - 1];
}

void ParseFaces(std::FILE* f, ReferenceMesh& mesh) {
    char code[256], value[256];
    int j = -1;
    bool in_face = false;
    while (GetTextLine(code, 256, f) && GetTextLine(value, 256, f)) {
        if (std::strcmp(value, "EOF\n") == 0) break;
        int k = 0;
        double x = 0.0;
        std::sscanf(code, "%d", &k);
        std::sscanf(value, "%le", &x);
        if (std::strncmp(value, "3DFACE", 6) == 0) {
            ++j;
            in_face = j < mesh.count;
            if (in_face) mesh.faces[j] = Face{};
        } else if (k == 0) {
            in_face = false;
        } else if (in_face) {
            if (double* c = Coordinate(mesh.faces[j], k)) *c = x;
        }
    }
}

} // namespace

ReferenceMesh ReadMeshReference(const char* path) {
    const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t previous = uselocale(c_locale);
    ReferenceMesh mesh;
    if (std::FILE* f = std::fopen(path, "rb")) {
        mesh.opened = true;
        mesh.count = CountFaceLines(f);
        std::fclose(f);
    }
    if (mesh.count > 0) {
        if (std::FILE* f = std::fopen(path, "rb")) {
            mesh.faces.assign(static_cast<std::size_t>(mesh.count) + 4, Face{});
            ParseFaces(f, mesh);
            std::fclose(f);
        }
    }
    uselocale(previous);
    freelocale(c_locale);
    return mesh;
}
