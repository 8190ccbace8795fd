// ventix-cli render FILE.aer OUT: a picture of the circuit as the editor shows it.

#include "Circuito.h"
#include "Comando.h"

#include "files/Exportar.h"
#include "files/Imagen.h"

#include "foundation/Numeros.h"

#include <cmath>
#include <filesystem>
#include <iostream>

namespace ventix::cli {

namespace {

// The largest side of a picture, and of the view it is drawn from.
constexpr int kLadoMaximo = 32768;

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--width", "--height", "--scale", "--margin"}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli render: " << e.what() << "\n";
        return salidaUso;
    }
    int ancho = 1200, alto = 800;
    double escala = 1.0, margen = 100 * kMargenDibujo;
    for (const auto& [nombre, valor] : o.Valores) {
        if (nombre == "--scale") {
            try {
                escala = TextoANumero(valor);
            } catch (const std::exception&) {
                escala = 0;
            }
            if (!(escala > 0 && std::isfinite(escala))) {
                std::cerr << "ventix-cli render: escala no válida \"" << valor << "\"\n";
                return salidaUso;
            }
            continue;
        }
        if (nombre == "--margin") {
            try {
                margen = TextoANumero(valor);
            } catch (const std::exception&) {
                margen = -1;
            }
            if (!(margen >= 0 && margen <= 45)) {
                std::cerr << "ventix-cli render: margen no válido \"" << valor
                          << "\" (de 0 a 45 por ciento)\n";
                return salidaUso;
            }
            continue;
        }
        const auto v = Entero(valor);
        if (!v || *v < 1 || *v > kLadoMaximo) {
            std::cerr << "ventix-cli render: medida no válida " << nombre << " \"" << valor
                      << "\"\n";
            return salidaUso;
        }
        (nombre == "--width" ? ancho : alto) = *v;
    }
    if (o.Posicionales.size() != 2) {
        std::cerr << "Uso: ventix-cli render ENTRADA.aer SALIDA.(png|bmp|jpg|svg|pdf) [--width W] "
                     "[--height H] [--scale S] [--margin M]\n";
        return salidaUso;
    }
    try {
        if (!EsVectorial(std::filesystem::u8path(o.Posicionales[1])))
            FormatoImagen(std::filesystem::u8path(o.Posicionales[1]));
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli render: " << e.what() << "\n";
        return salidaUso;
    }
    // The picture's size, rounded as the drawing rounds it.
    const double anchoFinal = std::nearbyint(ancho * escala);
    const double altoFinal = std::nearbyint(alto * escala);
    if (anchoFinal < 1 || altoFinal < 1 || anchoFinal > kLadoMaximo || altoFinal > kLadoMaximo) {
        std::cerr << "ventix-cli render: la imagen mediría " << NumeroATexto(anchoFinal) << " x "
                  << NumeroATexto(altoFinal) << " píxeles; cada lado ha de medir de 1 a "
                  << kLadoMaximo << "\n";
        return salidaUso;
    }
    TAerPaintBox lienzo;
    if (!CargarCircuito(lienzo, "render", o.Posicionales[0], o.Libreria))
        return salidaUso;

    // As the editor shows a circuit just opened: edit mode, every switch on,
    // fitted into the view.
    lienzo.Modo = mdEdicion;
    lienzo.MostrarConexiones = lienzo.MostrarVertices = lienzo.MostrarEstrellas = true;
    lienzo.MostrarTextos = lienzo.MostrarEnclavamientos = lienzo.MostrarTubosControl = true;
    lienzo.MostrarPresiones = true;
    lienzo.MarcarTubosControl();
    lienzo.SetCliente(ancho, alto);
    lienzo.Activar();
    const std::filesystem::path entrada = std::filesystem::u8path(o.Posicionales[0]);
    try {
        GuardarDibujo(lienzo, std::filesystem::u8path(o.Posicionales[1]),
                      QSize(static_cast<int>(std::nearbyint(ancho * escala)),
                            static_cast<int>(std::nearbyint(alto * escala))),
                      lienzo.ExtensionCircuito(), margen / 100,
                      QString::fromStdString(entrada.filename().string()));
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli render: " << e.what() << "\n";
        return salidaError;
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoRender() {
    static const TComando c{
        "render",
        "Dibuja un circuito .aer en una imagen PNG, BMP, JPEG, SVG o PDF.",
        "Uso: ventix-cli render ENTRADA.aer SALIDA [--width W] [--height H] [--scale S]\n"
        "                       [--margin M] [--libreria RUTA]\n\n"
        "Dibuja el circuito entero como lo muestra el editor en modo edición, con todas\n"
        "las opciones de visualización activas, ajustado con un margen del M por ciento\n"
        "(5 por omisión) a una vista de W x H píxeles (1200 x 800 por omisión) y\n"
        "ampliado S veces (1 por omisión); la imagen mide de 1 a 32768 píxeles por lado.\n"
        "El formato sale de la extensión de SALIDA: .png, .bmp o .jpg (JPEG de calidad\n"
        "90), .svg (vectorial, del mismo tamaño) o .pdf (una página A4 con el nombre del\n"
        "circuito y la fecha al pie).\n\n"
        "Estado de salida: 0 si todo fue bien, 1 si la imagen no se pudo escribir,\n"
        "2 si el circuito no se puede leer o los argumentos no son válidos.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
