#pragma once

#include "cad/Geometria.h"
#include "foundation/Parametros.h"

#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ventix {

// Entity type codes ("Tipo").
enum : std::uint8_t {
    teNinguna = 0, // a kind that is kept but not drawn
    tePunto = 1,
    teLinea = 2,
    teCirculo = 3,
    teArco = 4,
    tePolilinea = 5,
    teTexto = 6,
    tePoligono = 7,
};

// One named 3-D point of an entity. Setting a coordinate to a new value
// notifies the owning collection.
class TCADPunto : public TColeccionItem {
    VENTIX_CLASE(TCADPunto, TColeccionItem)

    double GetX() const { return X; }
    double GetY() const { return Y; }
    double GetZ() const { return Z; }
    void SetX(double V);
    void SetY(double V);
    void SetZ(double V);
    void Assign(const TColeccionItem& Origen) override;

private:
    double X = 0.0, Y = 0.0, Z = 0.0;
};

// What drawing an entity reads of it, in the precision the drawing takes
// (see TCADPaintBox::DibujarEntidad).
struct TCADTrazo {
    std::uint8_t Tipo = teNinguna; // teNinguna also for a kind that draws nothing
    double Grosor = 0.0;
    std::vector<QPointF> Puntos; // line ends, vertices, a circle's box corners, a text's anchor
    double Radio = 0.0, Alfa1 = 0.0, Barrido = 0.0;
    bool Arco = false;
    double Altura = 0.0;
    std::vector<QString> Lineas; // of a text
    // The lines' glyphs, shaped in the drawing's font at the first drawing
    // on an image, each with its baseline at 0.
    mutable std::vector<QList<QGlyphRun>> Glifos;
    // Whether no glyph of the text has an outline (blanks): nothing to draw.
    mutable bool SinTinta = false;
};

// Base of all drawing entities: a parameter set whose scalar attributes are
// parameters and whose positions are named points. Any change of either
// recomputes `Limites` and tells the owning collection.
class TCADEntidad : public TParametros {
    VENTIX_CLASE(TCADEntidad, TParametros)

    TCADEntidad();

    TColeccion Puntos;
    TCADLimites Limites;

    virtual void CalcularLimites() {}
    virtual void Desplazar(double dx, double dy, double dz);
    void Assign(const TColeccionItem& Origen) override;

    std::uint8_t GetTipo() const { return static_cast<std::uint8_t>(Param("Tipo").AsEntero()); }
    std::string GetTipoText() const { return Param("TipoText").AsTexto(); }
    void SetTipoText(const std::string& V) { Param("TipoText").SetTexto(V); }
    std::string GetSubClaseText() const { return Param("SubClaseText").AsTexto(); }
    void SetSubClaseText(const std::string& V) { Param("SubClaseText").SetTexto(V); }
    std::int32_t GetColor() const { return Param("Color").AsEntero(); }
    void SetColor(std::int32_t V) { Param("Color").SetEntero(V); }
    std::int32_t GetColorRGB() const { return Param("ColorRGB").AsEntero(); }
    void SetColorRGB(std::int32_t V) { Param("ColorRGB").SetEntero(V); }
    double GetGrosor() const { return Param("Grosor").AsReal(); }
    void SetGrosor(double V) { Param("Grosor").SetReal(V); }

    // The point of that name (case-insensitive), or null.
    TCADPunto* Punto(const std::string& Nombre) const;

    // What drawing reads, gathered at the first drawing after a change:
    // looking parameters and points up by name at every drawing would cost
    // more than the drawing.
    const TCADTrazo& Trazo() const;

protected:
    // The change routine: extents first, then the owner is told.
    void CambioEntidad();
    // For constructors: fixes the type code and adds parameters and points
    // with notifications suspended.
    void Iniciar(std::uint8_t Tipo, std::initializer_list<const char*> Reales,
                 std::initializer_list<const char*> NombresPuntos = {});
    TCADPunto& AgregarPunto(const std::string& Nombre);
    static void Mover(TCADPunto& P, double dx, double dy, double dz);

private:
    mutable std::unique_ptr<TCADTrazo> TrazoGuardado;
};

class TCADEntidadPunto : public TCADEntidad {
    VENTIX_CLASE(TCADEntidadPunto, TCADEntidad)
    TCADEntidadPunto();
    double GetX() const { return Param("X").AsReal(); }
    double GetY() const { return Param("Y").AsReal(); }
    double GetZ() const { return Param("Z").AsReal(); }
    void SetX(double V) { Param("X").SetReal(V); }
    void SetY(double V) { Param("Y").SetReal(V); }
    void SetZ(double V) { Param("Z").SetReal(V); }
    void CalcularLimites() override;
    void Desplazar(double dx, double dy, double dz) override;
};

class TCADLinea : public TCADEntidad {
    VENTIX_CLASE(TCADLinea, TCADEntidad)
    TCADLinea();
    TCADPunto& P1() const { return *Punto("P1"); }
    TCADPunto& P2() const { return *Punto("P2"); }
    void CalcularLimites() override;
    void Desplazar(double dx, double dy, double dz) override;
};

class TCADCirculo : public TCADEntidad {
    VENTIX_CLASE(TCADCirculo, TCADEntidad)
    TCADCirculo();
    TCADPunto& Centro() const { return *Punto("Centro"); }
    double GetRadio() const { return Param("Radio").AsReal(); }
    void SetRadio(double V) { Param("Radio").SetReal(V); }
    void CalcularLimites() override;
    void Desplazar(double dx, double dy, double dz) override;

protected:
    explicit TCADCirculo(std::uint8_t Tipo);
};

// An arc from Alfa1 to Alfa2, degrees counter-clockwise.
class TCADArco : public TCADCirculo {
    VENTIX_CLASE(TCADArco, TCADCirculo)
    TCADArco();
    double GetAlfa1() const { return Param("Alfa1").AsReal(); }
    double GetAlfa2() const { return Param("Alfa2").AsReal(); }
    void SetAlfa1(double V) { Param("Alfa1").SetReal(V); }
    void SetAlfa2(double V) { Param("Alfa2").SetReal(V); }
};

// An open chain of unnamed vertices.
class TCADPolilinea : public TCADEntidad {
    VENTIX_CLASE(TCADPolilinea, TCADEntidad)
    TCADPolilinea();
    // Appends a vertex.
    TCADPunto& AgregarVertice(double X, double Y, double Z = 0.0);
    void CalcularLimites() override;
    void Desplazar(double dx, double dy, double dz) override;

protected:
    explicit TCADPolilinea(std::uint8_t Tipo);
};

// A filled polygon; `Vertices` holds X0, Y0, X1, Y1 ... for the drawing.
class TCADPoligono : public TCADPolilinea {
    VENTIX_CLASE(TCADPoligono, TCADPolilinea)
    TCADPoligono();
    std::vector<float> Vertices;
    void ActualizarVertices();
    void CalcularLimites() override;
    void Assign(const TColeccionItem& Origen) override;
};

// A text anchored at "Enlace"; "Texto" may hold CR LF line breaks;
// "Alineación" is the attachment number 1..9 (0 when none was given).
class TCADTexto : public TCADEntidad {
    VENTIX_CLASE(TCADTexto, TCADEntidad)
    TCADTexto();
    TCADPunto& Enlace() const { return *Punto("Enlace"); }
    double GetAltura() const { return Param("Altura").AsReal(); }
    void SetAltura(double V) { Param("Altura").SetReal(V); }
    double GetClipWidth() const { return Param("ClipWidth").AsReal(); }
    void SetClipWidth(double V) { Param("ClipWidth").SetReal(V); }
    double GetRotacion() const { return Param("Rotación").AsReal(); }
    void SetRotacion(double V) { Param("Rotación").SetReal(V); }
    std::string GetTexto() const { return Param("Texto").AsTexto(); }
    void SetTexto(const std::string& V) { Param("Texto").SetTexto(V); }
    std::int32_t GetAlineacion() const { return Param("Alineación").AsEntero(); }
    void SetAlineacion(std::int32_t V) { Param("Alineación").SetEntero(V); }
    void CalcularLimites() override;
    void Desplazar(double dx, double dy, double dz) override;
};

// A drawing layer, owning its entities.
class TCADCapa : public TParametros {
    VENTIX_CLASE(TCADCapa, TParametros)

    TCADCapa();

    TColeccion Entidades;

    std::int32_t GetColor() const { return Param("Color").AsEntero(); }
    void SetColor(std::int32_t V);
    std::string GetLinea() const { return Param("Línea").AsTexto(); }
    void SetLinea(const std::string& V);
    double GetGrosor() const { return Param("Grosor").AsReal(); }
    void SetGrosor(double V);
    bool GetActiva() const { return Param("Activa").AsEntero() != 0; }
    void SetActiva(bool V);

    void Assign(const TColeccionItem& Origen) override;
};

} // namespace ventix
