#include "files/Imagen.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ventix;

TEST(Imagen, WritesByExtensionAndRefusesOthers) {
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 0));
    const auto dir =
        std::filesystem::temp_directory_path() / ("ventix_imagen_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const char* nombre : {"a.png", "a.BMP", "a.jpg", "a.JPEG"}) {
        const auto ruta = dir / nombre;
        GuardarImagen(img, ruta);
        QImage leida(QString::fromStdString(ruta.string()));
        ASSERT_FALSE(leida.isNull()) << nombre;
        EXPECT_EQ(leida.size(), img.size());
        const QColor c = leida.pixelColor(20, 10);
        EXPECT_GT(c.red(), 240) << nombre;
        EXPECT_LT(c.green(), 20) << nombre;
    }
    EXPECT_THROW(GuardarImagen(img, dir / "a.gif"), std::runtime_error);
    EXPECT_THROW(GuardarImagen(QImage(), dir / "b.png"), std::runtime_error);
    std::filesystem::remove_all(dir);
}

TEST(Imagen, JpegHasItsMarkersAndQualityMatters) {
    QImage img(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
    const std::string q90 = CodificarJpeg(img);
    const std::string q20 = CodificarJpeg(img, 20);
    ASSERT_GT(q90.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(q90[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(q90[1]), 0xD8);
    EXPECT_GT(q90.size(), q20.size());
}
