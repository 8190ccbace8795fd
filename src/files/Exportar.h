#pragma once

#include "cad/Geometria.h"

#include <QDate>
#include <QSize>
#include <QString>

#include <filesystem>
#include <string>

class QPaintDevice;

namespace ventix {

class TCADPaintBox;

// Pictures of a drawing in any format, and printed pages: every one is
// painted by the view's own Paint into its device, so a picture shows the
// colours and line widths of the screen, and in SVG and PDF lines stay lines
// and texts stay texts.

// The margin, a fraction of each side, around a drawing fitted whole.
constexpr double kMargenDibujo = 0.05;

// Whether the path asks for a vector format: ".svg" or ".pdf", any case.
bool EsVectorial(const std::filesystem::path& Ruta);

// An SVG document of Tamano pixels showing the world rectangle Mundo.
std::string CodificarSvg(TCADPaintBox& Vista, const QSize& Tamano, const TCADLimites& Mundo,
                         double Margen, const QString& Titulo);

// Draws Mundo on a page (a PDF writer's or a printer's printable area)
// above a small footer with Nombre at the left and Fecha at the right.
void DibujarPagina(TCADPaintBox& Vista, QPaintDevice& Pagina, const TCADLimites& Mundo,
                   double Margen, const QString& Nombre, const QString& Fecha);

// Whether a page for Mundo stands upright: only when it is taller than wide.
bool PaginaVertical(const TCADLimites& Mundo);

// A one-page A4 PDF document of Mundo, landscape unless the drawing is
// taller than wide, its footer naming Nombre and the date.
std::string CodificarPdf(TCADPaintBox& Vista, const TCADLimites& Mundo, double Margen,
                         const QString& Nombre, const QDate& Fecha);

// The date as a footer shows it, in Spanish ("6 de diciembre de 2026").
QString FechaPie(const QDate& Fecha);

// Writes a picture of Mundo to Ruta, its format by the extension: a bitmap
// (.png, .bmp, .jpg, .jpeg) or an SVG of Tamano pixels, or an A4 PDF page
// whose footer names Nombre and today's date. The file is replaced only once
// the whole picture is written. Raises std::runtime_error (in Spanish).
void GuardarDibujo(TCADPaintBox& Vista, const std::filesystem::path& Ruta, const QSize& Tamano,
                   const TCADLimites& Mundo, double Margen, const QString& Nombre);

} // namespace ventix
