#pragma once

#include "circuit/AerComponente.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

#include <memory>

namespace ventix {

// Style flags of a text; 1 is set at creation and changes nothing.
enum : std::uint8_t { etNormal = 1, etNegrita = 2, etItalica = 4, etSubrayada = 8, etTachada = 16 };

// A free label with its own font, size, colour, style and angle, optionally
// attached to an element so that it follows it.
class TAerTexto : public TAerComponente {
    VENTIX_CLASE(TAerTexto, TAerComponente)

    explicit TAerTexto(TAerPaintBox& Lienzo);
    ~TAerTexto() override;

    // A new text in the canvas's text list.
    static TAerTexto* Crear(TAerPaintBox& Lienzo);

    void SetEstilo(std::uint8_t E);
    std::uint8_t GetEstilo() const { return Estilo; }
    void SetTamano(double T);
    double GetTamano() const { return Tamano; }
    void SetFamilia(const QString& F);
    const QString& GetFamilia() const { return Familia; }
    const QFont& GetFuente() const { return Fuente; }
    // How many times the font was built (it is rebuilt only on a real change).
    int GetConstrucciones() const { return Construcciones; }

    void SetAsociado(TAerComponente* E);
    TAerComponente* GetAsociado() const { return Asociado; }
    void Dibujar() override;

    QColor ColorTexto{0, 0, 0};
    std::string Cadena = "Texto";
    double DX = 0.0;
    double DY = 0.0;

private:
    friend class TAerPaintBox;
    void ConstruirFuente();
    // Follows the associated element (or, while the text is dragged, keeps
    // its offset from it).
    void Seguir();
    QString Familia = QStringLiteral("Century Gothic");
    QFont Fuente;
    std::uint8_t Estilo = etNormal;
    double Tamano = 4.0;
    TAerComponente* Asociado = nullptr;
    int Construcciones = 0;
    // The drawing font, the text and its box as last measured, and its
    // glyphs, shaped at the first drawing on an image.
    struct TMedida {
        std::string Cadena;
        QString Texto;
        QFont Fuente;
        QRectF Caja;
        // Drawn from its glyphs: one line, no underline or strike-out, which
        // the painter's text layout draws as decorations of its own.
        bool PorGlifos = false;
        bool Formada = false;
        QList<QGlyphRun> Glifos;
    };
    std::unique_ptr<TMedida> Medida;
};

} // namespace ventix
