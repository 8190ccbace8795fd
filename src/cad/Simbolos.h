#pragma once

#include "cad/Entidades.h"
#include "cad/Geometria.h"
#include "cad/Region.h"

#include <QTransform>

#include <cstdint>
#include <memory>

namespace ventix {

class TCADPaintBox;

// One block of a symbol: entities placed relative to the block's base point,
// and the motion between the initial pose (state 0) and the final pose
// (state 1): displacement, rotation and scale.
class TCADBloque : public TColeccionItem {
    VENTIX_CLASE(TCADBloque, TColeccionItem)

    TCADBloque();

    TColeccion Entidades; // of TCADEntidad, base point at the origin
    TArea Region;         // the extents rectangle, block coordinates
    QTransform Matriz;    // pose transform captured at the last drawing
    TCADLimites Limites;  // extents of the entities, rounded to 6 decimals
    double BaseX = 0.0, BaseY = 0.0;
    double DeltaX = 0.0, DeltaY = 0.0;
    double EscalaIniX = 1.0, EscalaIniY = 1.0;
    double EscalaFinX = 1.0, EscalaFinY = 1.0;
    double RotacionX = 0.0, RotacionY = 0.0; // initial and final angle

    // Takes the block's drawing from a layer: entities that draw are cloned,
    // a point entity gives the base point (the last one wins), everything is
    // moved to the base, then Limites and Region are computed.
    void TomarCapa(const TCADCapa& Capa);
    // Recomputes Limites (rounded to 6 decimals, ties to even) and Region.
    void CalcularLimites();
    // Poses the block at state Estado on the view (and draws it when asked);
    // Destino, when given, receives the posed rectangle in the coordinates of
    // the enclosing level.
    void Dibujar(TCADPaintBox& View, TCADRegion* Destino, bool Dibujar, double Estado);

    void Assign(const TColeccionItem& Origen) override;
};

// One symbol: its blocks in file order.
class TCADComponente : public TColeccionItem {
    VENTIX_CLASE(TCADComponente, TColeccionItem)

    TCADComponente();

    TColeccion Bloques; // of TCADBloque

    // Makes the first block's base point the origin of the others.
    void NormalizarBases();
    // Poses each block at Estado; Regiones (of TCADRegion) receives one
    // posed rectangle per block, by position.
    void Dibujar(TCADPaintBox& View, TColeccion& Regiones, bool Dibujar, double Estado);
    void Assign(const TColeccionItem& Origen) override;
};

// A placed symbol: position, turn, scale, colour and state, and after each
// drawing the hit area of every block. `Regiones` stay in the instance's own
// coordinates; `Region` and `Bounds` are in its owner's.
class TCADIndividuo : public TColeccionItem {
    VENTIX_CLASE(TCADIndividuo, TColeccionItem)

    TCADIndividuo();
    ~TCADIndividuo() override;

    double X = 0.0, Y = 0.0;
    double Angulo = 0.0;
    double EscalaX = 1.0, EscalaY = 1.0;
    double Estado = 0.0; // 0 initial pose, 1 final; others extrapolate
    TCADRectF Bounds;
    bool Visible = true;
    std::uint32_t Color = 0xFF000000u; // pen and fill, ARGB

    // The hit area of each block as last posed (of TCADRegion, by position),
    // and their union: both empty until the first pose.
    const TColeccion& Regiones() const;
    const TCADRegion& Region() const;

    // Not owned: the symbol lives in its library, which outlives instances.
    TCADComponente* GetComponente() const { return Componente; }
    void SetComponente(TCADComponente* C);
    // Poses the instance (drawing it when Dibujar is true) and refreshes
    // Regiones, Region and Bounds. Nothing happens without a component or
    // when not Visible.
    void Dibujar(TCADPaintBox& View, bool Dibujar);
    // The instance's own transform, as posing maps its blocks: made from the
    // placement when asked for rather than kept by every instance.
    QTransform Colocacion() const;

private:
    TCADComponente* Componente = nullptr;
    // What posing leaves, made at the first pose: most instances of a
    // circuit read to be checked or run headless are never posed.
    struct TPose;
    std::unique_ptr<TPose> Pose;
};

// Rounds to 6 decimals, ties to even: the precision of block geometry.
double Redondear6(double x);

} // namespace ventix
