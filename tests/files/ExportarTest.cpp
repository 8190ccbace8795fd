// Pictures of whole circuits and of the view: SVG and PDF keep lines and
// texts as such, pages and pictures are fitted with their margin, and
// `ventix-cli render` writes every format.

#include "files/Exportar.h"

#include "cad/Region.h"
#include "circuit/AerComponente.h"
#include "circuit/AerPaintBox.h"
#include "files/ArchivoAer.h"

#include "../cad/Aplicacion.h"

#include "../cli/Cli.h"

#include <QImage>
#include <QTransform>
#include <QXmlStreamReader>

#include <map>
#include <set>

using namespace ventix;
namespace fs = std::filesystem;

namespace {

const fs::path kRaiz = fs::u8path(VENTIX_RAIZ);
const fs::path kSecuencia = kRaiz / "examples" / "09_secuencia_dos_cilindros.aer";

using cli::Leer;

// What an SVG document holds: its drawn shapes by element name, where each
// text starts on the picture, and whether it is well-formed XML.
struct TSvg {
    int Forma(const std::string& Nombre) const {
        const auto i = Formas.find(Nombre);
        return i == Formas.end() ? 0 : i->second;
    }
    // Whether a text is drawn inside the picture's Ancho x Alto.
    bool Muestra(const std::string& Texto, double Ancho, double Alto) const {
        const auto i = Textos.find(Texto);
        return i != Textos.end() && i->second.x() >= 0 && i->second.x() <= Ancho &&
               i->second.y() >= 0 && i->second.y() <= Alto;
    }
    std::map<std::string, int> Formas;
    std::map<std::string, QPointF> Textos;
    bool Valido = false;
};

QTransform Matriz(const QString& Atributo) {
    if (!Atributo.startsWith("matrix("))
        return {};
    const QStringList v = Atributo.mid(7).chopped(1).split(',');
    if (v.size() != 6)
        return {};
    return QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(),
                      v[4].toDouble(), v[5].toDouble());
}

TSvg Analizar(const std::string& Bytes) {
    TSvg r;
    QXmlStreamReader x(QByteArray::fromStdString(Bytes));
    std::vector<QTransform> pila{QTransform()};
    while (!x.atEnd()) {
        const auto t = x.readNext();
        if (t == QXmlStreamReader::EndElement) {
            pila.pop_back();
            continue;
        }
        if (t != QXmlStreamReader::StartElement)
            continue;
        pila.push_back(Matriz(x.attributes().value("transform").toString()) * pila.back());
        const std::string nombre = x.name().toString().toStdString();
        if (nombre == "text") {
            const QPointF p(x.attributes().value("x").toDouble(),
                            x.attributes().value("y").toDouble());
            const QPointF en = pila.back().map(p);
            r.Textos[x.readElementText().trimmed().toStdString()] = en;
            pila.pop_back(); // readElementText consumed the end of the element
        } else {
            ++r.Formas[nombre];
        }
    }
    r.Valido = !x.hasError();
    return r;
}

// The text a PDF shows, as a reader extracts it.
std::string TextoPdf(const fs::path& Pdf) {
    const fs::path txt = fs::path(Pdf).replace_extension(".txt");
    const std::string orden = "pdftotext -enc UTF-8 '" + Pdf.string() + "' '" + txt.string() + "'";
    EXPECT_EQ(std::system(orden.c_str()), 0) << "pdftotext (poppler-utils) hace falta";
    return Leer(txt);
}

// The bounding box of what is not background in a picture.
QRect Dibujado(const QImage& Imagen) {
    QRect r;
    for (int y = 0; y < Imagen.height(); ++y)
        for (int x = 0; x < Imagen.width(); ++x)
            if (Imagen.pixel(x, y) != qRgb(255, 255, 255))
                r |= QRect(x, y, 1, 1);
    return r;
}

// An example circuit on a canvas of 600 x 400 zoomed in on cylinder A, so
// that most of the circuit lies outside the view.
class Exportar : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        L.Libreria.Cargar(kRaiz / fs::u8path("data/Librerías/LIBRERÍA.txt"));
        ArchivoAer::Leer(L, ArchivoAer::CargarLineas(kSecuencia));
        L.Modo = mdEdicion;
        L.MostrarTextos = L.MostrarConexiones = L.MostrarTubosControl = true;
        L.MarcarTubosControl();
        L.SetCliente(600, 400);
        L.Activar();
        L.Paint();
        L.SetZoom(8);
        const auto* a = L.Componentes.ItemComo<TAerComponente>(0);
        L.Centrar(a->X, a->Y);
        Dir = fs::temp_directory_path() / ("ventix_exportar_" + std::to_string(getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    TAerPaintBox L;
    fs::path Dir;
};

} // namespace

TEST_F(Exportar, SvgKeepsLinesAndTextsAndTheWholeCircuitShowsWhatTheViewHides) {
    const double zoom = L.Zoom;
    const int ox = L.OffsetX, oy = L.OffsetY;
    const TSvg todo = Analizar(CodificarSvg(L, {1200, 800}, L.ExtensionCircuito(), kMargenDibujo,
                                            QStringLiteral("secuencia")));
    ASSERT_TRUE(todo.Valido);
    // Lines stay lines: no picture inside.
    EXPECT_EQ(todo.Forma("image"), 0);
    EXPECT_GT(todo.Forma("polyline") + todo.Forma("path"), 100);
    for (const char* t : {"Cilindro A", "Cilindro B", "Marcha", "b0", "a1",
                          "Secuencia de dos cilindros A+ B+ A- B-"})
        EXPECT_TRUE(todo.Muestra(t, 1200, 800)) << t;

    // The view shows cylinder A; what lies beyond it is left out or drawn
    // outside the picture.
    const TSvg vista =
        Analizar(CodificarSvg(L, {600, 400}, L.AreaVisible(), 0, QStringLiteral("vista")));
    ASSERT_TRUE(vista.Valido);
    EXPECT_TRUE(vista.Muestra("Cilindro A", 600, 400));
    EXPECT_FALSE(vista.Muestra("Cilindro B", 600, 400) || vista.Muestra("Marcha", 600, 400));

    // The canvas's own view is left as it was.
    EXPECT_EQ(std::tuple(L.Zoom, L.OffsetX, L.OffsetY, L.GetCliente()),
              std::tuple(zoom, ox, oy, QRect(0, 0, 600, 400)));
}

TEST_F(Exportar, PdfIsAnA4PageWithTextsAndFooterStandingUpOnlyForTallCircuits) {
    const fs::path pdf = Dir / "secuencia.pdf";
    GuardarDibujo(L, pdf, {1200, 800}, L.ExtensionCircuito(), kMargenDibujo,
                  QStringLiteral("09_secuencia_dos_cilindros.aer"));
    const std::string bytes = Leer(pdf);
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("/MediaBox [0 0 842"), std::string::npos);
    EXPECT_EQ(bytes.find("/Subtype /Image"), std::string::npos);
    const std::string texto = TextoPdf(pdf);
    for (const char* t : {"Cilindro A", "Cilindro B", "Marcha", "09_secuencia_dos_cilindros.aer"})
        EXPECT_NE(texto.find(t), std::string::npos) << t;
    EXPECT_NE(texto.find(FechaPie(QDate::currentDate()).toStdString()), std::string::npos);
    EXPECT_EQ(FechaPie(QDate(2026, 3, 1)), "1 de marzo de 2026");

    // Only cylinder A's corner, taller than wide: an upright page.
    const TCADLimites alto{-50, 100, 0, 0};
    EXPECT_TRUE(PaginaVertical(alto));
    EXPECT_FALSE(PaginaVertical(L.ExtensionCircuito()));
    const std::string vertical = CodificarPdf(L, alto, 0, QStringLiteral("a"), QDate(2026, 1, 1));
    EXPECT_NE(vertical.find("/MediaBox [0 0 595"), std::string::npos);
}

// A view that fills exactly the rectangle it is asked for shows the fit.
TEST(DibujarEn, FitsTheRectangleWithItsMarginCentredWhateverTheView) {
    AsegurarAplicacion();
    TCADPaintBox V;
    const TCADLimites mundo{-30, 25, 70, -15}; // 100 x 40 world units
    V.OnPintar = [&](TCADPaintBox& Vista) {
        Vista.Brush = QBrush(Qt::black);
        Vista.RellenarArea(TArea(QRectF(mundo.Left, mundo.Bottom, 100, 40)));
    };
    V.SetCliente(50, 50);
    V.SetZoom(3);
    for (const auto& [tam, esperado] : {std::pair{QSize(1000, 1000), QRect(50, 320, 900, 360)},
                                        std::pair{QSize(1000, 200), QRect(275, 10, 450, 180)}}) {
        QImage img(tam, QImage::Format_RGB32);
        V.DibujarEn(img, tam, mundo, 0.05);
        const QRect r = Dibujado(img);
        for (auto [real, deseado] : {std::pair(r.left(), esperado.left()),
                                     {r.top(), esperado.top()},
                                     {r.width(), esperado.width()},
                                     {r.height(), esperado.height()}})
            EXPECT_NEAR(real, deseado, 1) << tam.height();
    }
    EXPECT_EQ(std::tuple(V.Zoom, V.GetCliente(), V.DibujoActivo),
              std::tuple(3.0, QRect(0, 0, 50, 50), false));
}

TEST_F(Exportar, PicturesOfAnySizeOrFormatOnlyWhenTheyCanBeMade) {
    // The element under the pointer is highlighted on the screen only.
    L.Resaltado = L.Componentes.ItemComo<TAerComponente>(0);
    const fs::path png = Dir / "todo.png";
    GuardarDibujo(L, png, {900, 300}, L.ExtensionCircuito(), kMargenDibujo, {});
    const QImage img(QString::fromStdString(png.string()));
    EXPECT_EQ(img.size(), QSize(900, 300));
    int azules = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            azules += img.pixel(x, y) == 0xFF4682B4u;
    EXPECT_EQ(azules, 0);
    L.Resaltado = nullptr;
    EXPECT_THROW(GuardarDibujo(L, Dir / "x.png", {0, 10}, L.AreaVisible(), 0, {}),
                 std::runtime_error);
    EXPECT_THROW(GuardarDibujo(L, Dir / "x.svg", {40000, 10}, L.AreaVisible(), 0, {}),
                 std::runtime_error);
    EXPECT_THROW(GuardarDibujo(L, Dir / "x.gif", {10, 10}, L.AreaVisible(), 0, {}),
                 std::invalid_argument);
    EXPECT_FALSE(fs::exists(Dir / "x.gif") || fs::exists(Dir / "x.svg"));
}

using ExportarCli = cli::ConCarpeta;

TEST_F(ExportarCli, RenderWritesSvgAndPdfAndTakesAMargin) {
    const fs::path& dir = Dir;
    auto render = [&](const std::string& Salida, std::vector<std::string> Mas = {}) {
        Mas.insert(Mas.begin(), {"render", kSecuencia.string(), (dir / Salida).string()});
        return Cli(Mas).Estado;
    };
    EXPECT_EQ(render("a.svg", {"--width", "300", "--height", "200"}), 0);
    const TSvg svg = Analizar(Leer(dir / "a.svg"));
    EXPECT_TRUE(svg.Valido && svg.Textos.count("Cilindro B") == 1);
    EXPECT_NE(Leer(dir / "a.svg").find("viewBox=\"0 0 300 200\""), std::string::npos);

    EXPECT_EQ(render("a.PDF"), 0);
    EXPECT_EQ(Leer(dir / "a.PDF").substr(0, 5), "%PDF-");
    EXPECT_NE(TextoPdf(dir / "a.PDF").find("09_secuencia_dos_cilindros.aer"), std::string::npos);

    // A wider margin leaves more white around the same circuit.
    ASSERT_EQ(render("m0.png", {"--width", "400", "--height", "400", "--margin", "0"}), 0);
    ASSERT_EQ(render("m20.png", {"--width", "400", "--height", "400", "--margin", "20"}), 0);
    const QRect m0 = Dibujado(QImage(QString::fromStdString((dir / "m0.png").string())));
    const QRect m20 = Dibujado(QImage(QString::fromStdString((dir / "m20.png").string())));
    EXPECT_TRUE(m0.left() <= 2 && std::abs(m20.left() - 80) <= 3) << m0.left() << " " << m20.left();
    for (const char* m : {"-1", "50", "x"})
        EXPECT_EQ(render("m.png", {"--margin", m}), 2) << m;
}
