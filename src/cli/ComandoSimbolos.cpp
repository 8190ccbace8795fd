#include "Circuito.h"
#include "Comando.h"

#include "cad/Libreria.h"
#include "cad/PaintBox.h"
#include "circuit/Libreria.h"
#include "circuit/TipoComponente.h"
#include "files/Imagen.h"

#include <QPainter>

#include <iostream>

namespace ventix::cli {

namespace {

const char* const kAyuda =
    "Uso: ventix-cli symbols SALIDA.(png|bmp|jpg) [--libreria RUTA]\n\n"
    "Dibuja una hoja con los 30 tipos del catálogo, cada uno en los estados 0, 0.5 y 1,\n"
    "con sus puntos de conexión numerados (índice:clase; 0 salida, 1 entrada, 10 ambas).\n"
    "--libreria RUTA  catálogo de componentes (LIBRERÍA.txt o su carpeta).\n\n"
    "Estado de salida: 0 bien, 1 si no se puede escribir la imagen, 2 si el catálogo\n"
    "falta o tiene problemas (se escriben en la salida de errores) o los argumentos\n"
    "no son válidos.\n";

constexpr int kTiposPorFila = 2;
constexpr int kAnchoCelda = 300;
constexpr int kAltoCelda = 190;
constexpr int kCabecera = 26;
constexpr double kZoom = 3.6;
constexpr double kEstados[] = {0.0, 0.5, 1.0};

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {}, {});
        if (o.Posicionales.size() > 1)
            throw std::invalid_argument("sobra el argumento \"" + o.Posicionales[1] + "\"");
        if (o.Posicionales.size() == 1)
            FormatoImagen(std::filesystem::u8path(o.Posicionales[0]));
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli symbols: " << e.what() << "\n";
        return salidaUso;
    }
    if (o.Posicionales.size() != 1) {
        std::cerr << kAyuda;
        return salidaUso;
    }
    const std::string salida = o.Posicionales[0];

    TAerLibreria libreria;
    if (!CargarCatalogo(libreria, "symbols", o.Libreria))
        return salidaUso;

    const int columnas = kTiposPorFila * 3;
    const int filas = (30 + kTiposPorFila - 1) / kTiposPorFila;
    const int ancho = columnas * kAnchoCelda;
    const int alto = filas * (kAltoCelda + kCabecera);

    TCADPaintBox vista;
    vista.SetCliente(ancho, alto);
    vista.ClientePrevio = vista.GetCliente(); // keep the origin at the top-left corner
    vista.Zoom = kZoom;
    vista.Activar();
    vista.OnPintar = [&](TCADPaintBox& V) {
        QPainter* g = V.GetGraphics();
        for (int t = 1; t <= 30; ++t) {
            const auto tipo = static_cast<TTipoComponente>(t);
            const int fila = (t - 1) / kTiposPorFila;
            const int col0 = ((t - 1) % kTiposPorFila) * 3;
            const int y0 = fila * (kAltoCelda + kCabecera);
            g->save();
            g->resetTransform();
            g->fillRect(col0 * kAnchoCelda, y0, 3 * kAnchoCelda, kCabecera, QColor(235, 240, 248));
            g->setPen(Qt::black);
            g->setFont(QFont("DejaVu Sans", 11, QFont::Bold));
            g->drawText(QRect(col0 * kAnchoCelda + 8, y0, 3 * kAnchoCelda - 16, kCabecera),
                        Qt::AlignVCenter | Qt::AlignLeft,
                        QString::number(t) + "  " +
                            QString::fromStdString(std::string(NombreTipo(tipo))));
            g->setPen(QColor(200, 200, 200));
            g->setBrush(Qt::NoBrush);
            g->drawRect(col0 * kAnchoCelda, y0, 3 * kAnchoCelda - 1, kCabecera + kAltoCelda - 1);
            g->restore();

            TCADComponente* simbolo = libreria.GetSimbolo(tipo);
            for (int k = 0; k < 3; ++k) {
                const int px = (col0 + k) * kAnchoCelda;
                const int py = y0 + kCabecera;
                g->save();
                g->resetTransform();
                g->setPen(QColor(120, 120, 120));
                g->setFont(QFont("DejaVu Sans", 9));
                g->drawText(px + 6, py + 14, QString("estado %1").arg(kEstados[k]));
                g->restore();
                if (!simbolo)
                    continue;
                TCADIndividuo ind;
                ind.SetComponente(simbolo);
                ind.Estado = kEstados[k];
                ind.Dibujar(V, false);
                const double cx = (px + kAnchoCelda / 2.0) / kZoom;
                const double cy = -(py + kAltoCelda / 2.0 + 6) / kZoom;
                ind.X = cx - (ind.Bounds.X + ind.Bounds.Width / 2.0);
                ind.Y = cy - (ind.Bounds.Y + ind.Bounds.Height / 2.0);
                ind.Dibujar(V, true);
                for (int i = 1; i <= libreria.GetConexiones(tipo); ++i) {
                    const auto p = libreria.GetConexion(tipo, i);
                    const QPointF pixel = V.MundoAPantalla({ind.X + p.X, ind.Y + p.Y});
                    g->save();
                    g->resetTransform();
                    g->setRenderHint(QPainter::Antialiasing);
                    g->setPen(QPen(QColor(200, 30, 30), 1.5));
                    g->setBrush(Qt::NoBrush);
                    g->drawEllipse(pixel, 3.5, 3.5);
                    g->setFont(QFont("DejaVu Sans", 8));
                    g->drawText(pixel + QPointF(5, -4), QString("%1:%2").arg(i).arg(p.Tipo));
                    g->restore();
                }
            }
        }
    };
    vista.Paint();
    try {
        GuardarImagen(vista.Bitmap.copy(0, 0, ancho, alto), std::filesystem::u8path(salida));
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli symbols: " << e.what() << "\n";
        return salidaError;
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoSimbolos() {
    static const TComando c{"symbols", "dibuja una hoja con todos los símbolos del catálogo",
                            kAyuda, &Ejecutar};
    return c;
}

} // namespace ventix::cli
