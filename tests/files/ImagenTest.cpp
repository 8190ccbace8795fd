#include "files/Imagen.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ventix;

// The formats a name asks for, and those refused, are checked through the
// window's image dialog (tests/editor); here, that colours survive each writer.
TEST(Imagen, ColoursSurviveEachFormatAndJpegQualityCounts) {
    QImage rojo(40, 20, QImage::Format_RGB32);
    rojo.fill(QColor(255, 0, 0));
    const auto dir =
        std::filesystem::temp_directory_path() / ("ventix_imagen_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const char* nombre : {"a.png", "a.BMP", "a.JPEG"}) {
        GuardarImagen(rojo, dir / nombre);
        const QColor c = QImage(QString::fromStdString((dir / nombre).string())).pixelColor(20, 10);
        EXPECT_GT(c.red(), 240) << nombre;
        EXPECT_LT(c.green(), 20) << nombre;
    }
    EXPECT_THROW(GuardarImagen(QImage(), dir / "b.png"), std::runtime_error);
    std::filesystem::remove_all(dir);

    QImage img(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
    const std::string q90 = CodificarJpeg(img);
    EXPECT_EQ(q90.substr(0, 2), "\xFF\xD8");
    EXPECT_GT(q90.size(), CodificarJpeg(img, 20).size());
}
