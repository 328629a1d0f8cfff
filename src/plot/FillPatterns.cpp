#include "plot/FillPatterns.h"

#include <QImage>
#include <QString>
#include <array>

// The pattern resources live in the static program library; register them once.
static void InitPatternResources() { Q_INIT_RESOURCE(patterns); }

namespace torvex {

namespace {

struct TTexture {
    int Code;
    const char* Name;
};
constexpr std::array<TTexture, 7> kTextures{{{1, "A-clay"},
                                             {7, "B-sand"},
                                             {8, "C-silt"},
                                             {9, "D-strong-rock"},
                                             {10, "E-weak-rock"},
                                             {11, "F-gravel"},
                                             {12, "G-organic"}}};

const char* TextureName(int code) {
    for (const TTexture& texture : kTextures)
        if (texture.Code == code) return texture.Name;
    return nullptr;
}

QImage LoadTexture(const char* name, TPatternSize size) {
    static const bool registered = (InitPatternResources(), true);
    (void)registered;
    return QImage(QString(":/patterns/%1-%2.png")
                      .arg(name, size == TPatternSize::Screen ? "screen" : "print"));
}

}  // namespace

bool HasFill(int code) { return (code >= 1 && code <= 12) && (code <= 6 || TextureName(code)); }

QBrush FillBrush(int code, TPatternSize size) {
    switch (code) {
        case 2: return QBrush(Qt::black, Qt::FDiagPattern);
        case 3: return QBrush(Qt::black, Qt::CrossPattern);
        case 4: return QBrush(Qt::black, Qt::DiagCrossPattern);
        case 5: return QBrush(Qt::black, Qt::HorPattern);
        case 6: return QBrush(Qt::black, Qt::VerPattern);
        default: break;
    }
    const char* name = TextureName(code);
    if (!name) return QBrush(Qt::NoBrush);
    // Loaded once per texture and size; the brush shares the image.
    static std::array<std::array<QImage, 2>, kTextures.size()> cache;
    for (size_t i = 0; i < kTextures.size(); ++i) {
        if (kTextures[i].Code != code) continue;
        QImage& image = cache[i][size == TPatternSize::Screen ? 0 : 1];
        if (image.isNull()) image = LoadTexture(name, size);
        return QBrush(image);
    }
    return QBrush(Qt::NoBrush);
}

}  // namespace torvex
