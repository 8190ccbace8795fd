#pragma once

#include "cad/PaintBox.h"
#include "circuit/IndiceEspacial.h"
#include "circuit/Libreria.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ventix {

class TAerComponente;
class TAerTubo;
class TAerTexto;

// Editor modes.
enum : std::uint8_t {
    mdEdicion = 0,
    mdSeleccion = 1,
    mdTubo = 2,
    mdEnclavar = 3,
    mdVerificar = 4,
    mdEjecutar = 5,
    mdPausa = 6,
    mdParado = 7,
};

// Drag states of the canvas.
enum : std::uint8_t { arNinguno = 0, arSeleccion = 2, arLibre = 3 };

// The sheet a circuit is built and watched on. It owns the circuit document:
// the top-level elements, texts and tubes, the reference lists through which
// every connection point, tube vertex and hand-worked actuator is reached,
// the component catalogue and the report of the last check. It needs no
// window: a host widget forwards its events to the view it derives from.
class TAerPaintBox : public TCADPaintBox {
public:
    TAerPaintBox();
    ~TAerPaintBox() override;

    // Document.
    TAerLibreria Libreria;
    TColeccion Componentes;   // of TAerComponente, the top-level elements
    TColeccion RefConexiones; // of TComponenteItem, every connection point
    TColeccion RefActuadores; // of TComponenteItem, actuators worked by hand
    TColeccion Textos;        // of TAerTexto
    TColeccion RefVertices;   // of TComponenteItem, every tube vertex
    TColeccion Tubos;         // of TAerTubo
    std::vector<std::string> Errores;
    TAerComponente* Seleccionado = nullptr;
    TAerTubo* TuboNuevo = nullptr;

    // What the drawing reads.
    std::uint32_t ColorSeleccion = 0x4000FF00u;
    TCADRectF Extension;
    std::uint8_t Arrastre = arNinguno;
    std::uint8_t Modo = mdEdicion;
    TAerComponente* Resaltado = nullptr;
    bool MostrarConexiones = false;
    bool MostrarVertices = false;
    bool MostrarEstrellas = false;
    bool MostrarTextos = false;
    bool MostrarEnclavamientos = false;
    bool MostrarTubosControl = false;
    bool MostrarPresiones = false;

    // Selection and the mouse.
    Qt::MouseButton BotonSeleccion = Qt::LeftButton;
    TCADCoordenada PuntoPulsado;
    TCADCoordenada PosicionRaton;
    bool RatonPulsado = false;
    // Asked when a click selects (also with none); may refuse.
    std::function<void(TAerComponente*, bool& Aceptar)> OnSeleccionar;
    // Asked before the element under the pointer is highlighted; may refuse.
    std::function<void(TAerComponente*, bool& Permitido)> OnResaltar;

    // Several elements selected together (two or more top-level components
    // and texts); Seleccionado is then none. A rubber band dragged on empty
    // ground or Ctrl+click make one.
    std::vector<TAerComponente*> Grupo;
    bool Banda = false;
    TCADCoordenada InicioBanda;
    // What is selected: the group, or the selected component or text alone.
    std::vector<TAerComponente*> Seleccion() const;
    void SeleccionarGrupo(const std::vector<TAerComponente*>& Elementos);
    // Selects these elements as the user would: one through OnSeleccionar.
    void ElegirVarios(std::vector<TAerComponente*> Elementos);
    // Adds an element to the selection, or takes it out (Ctrl+click).
    void AlternarEnSeleccion(TAerComponente* Elemento);
    bool EsDeNivelSuperior(const TAerComponente* Elemento) const;
    // The tubes whose both ends are on the elements.
    std::vector<TAerTubo*> TubosEntre(const std::vector<TAerComponente*>& Elementos) const;
    // Moves elements together with the texts linked to them and the bends of
    // the tubes between them.
    void MoverGrupo(const std::vector<TAerComponente*>& Elementos, double DX, double DY);
    // Mirrors the elements about the vertical line through their centre.
    void ReflejarGrupo(const std::vector<TAerComponente*>& Elementos);
    // Deletes the elements as BorrarSeleccion deletes one.
    void BorrarElementos(const std::vector<TAerComponente*>& Elementos);
    // A quarter turn of the elements about their centre.
    void GirarGrupo(const std::vector<TAerComponente*>& Elementos);
    // The centre of the elements' positions, on the half-unit grid.
    static TCADCoordenada CentroGrupo(const std::vector<TAerComponente*>& Elementos);

    // The element at a world point: components (the last one in the list
    // wins), then connection points (unless a T connector was hit), texts by
    // their mark (only while marks are shown), vertices (only while they are
    // drawn); null for none.
    TAerComponente* ElementoEn(const TCADCoordenada& Punto) const;
    // An element was posed: its hit area may have changed. (A sub-element's
    // area is final once its parent has posed it; the index files what was
    // posed when it is next asked.)
    void AreaPosada(TAerComponente* Elemento) {
        if (AreasRetenidas == 0)
            Indice.Marcar(Elemento);
    }
    const TIndiceEspacial& GetIndice() const { return Indice; }
    void Deseleccionar();
    void Seleccionar(TAerComponente* Elemento);
    // Makes a new element follow the pointer until the button is released.
    void ColocarEnPuntero(TAerComponente* Elemento);
    // Fits the drawing of the last paint into the view.
    void AjustarVista();
    // Zooms one step in (Delta >= 1) or out (Delta < 0) about a world point.
    void ZoomRueda(const TCADCoordenada& Punto, int Delta);

    void MouseDown(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y) override;
    void MouseUp(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) override;

    // Deletes what is selected: the tube being drawn if there is one, else the
    // selected element (with its tubes and texts), or the whole tube of a
    // selected vertex.
    void BorrarSeleccion();
    // Empties the whole circuit.
    void BorrarCircuito();

    // Checks the circuit: fills Errores with the report, marks the faulty
    // components and answers the number of errors (defined with the checks).
    int Verificar();

    // Draws the circuit: components, texts, tubes; refreshes Extension.
    void Paint() override;
    // Draws every element once without a surface, so that hit areas, bounds
    // and the points' circuit positions are up to date.
    void ActualizarGeometria();
    // The extents of the whole circuit, whatever the view shows, with the
    // geometry brought up to date first.
    TCADLimites ExtensionCircuito();

    // Called by an element that is going away: every reference to it held by
    // the canvas or by other elements is cleared.
    void Olvidar(TAerComponente* Elemento);
    // Recomputes which tubes carry pilot signals.
    void MarcarTubosControl();
    // A tube was finished, taken away or moved to other points: the marks
    // are recomputed now, or once when the open batch of changes closes.
    void TubosCambiados();
    // While the canvas is being emptied (BorrarCircuito, its destruction),
    // elements that go need not clear references one by one.
    bool Vaciando() const { return Destruyendo; }

    static TAerComponente* Referido(const TColeccion& Referencias, int i);

private:
    friend class TLoteTubos;
    // ElementoEn as a pass over every element (checks the index in debug builds).
    TAerComponente* ElementoEnRecorriendo(const TCADCoordenada& Punto) const;
    mutable TIndiceEspacial Indice;
    // While an element posed as it stands is drawn, its areas are not marked.
    int AreasRetenidas = 0;
    // Marks every element's area for filing (the index is made again).
    void MarcarAreas();
    void DibujarCircuito();
    void DibujarBanda();
    void SoltarBanda();
    bool ArrastreGrupo = false;
    void SeleccionarEnPulsacion();
    void Vaciar();
    bool Destruyendo = false;
    int LoteTubos = 0;
    bool MarcasPendientes = false;
    int ModoPosado = -1; // what the mode made posing show at the last drawing
};

// A batch of tube changes (reading a file, deleting an element with its
// tubes): the control-tube marks are recomputed once, when the outermost
// batch closes, instead of at every tube.
class TLoteTubos {
public:
    explicit TLoteTubos(TAerPaintBox& Lienzo) : L(Lienzo) { ++L.LoteTubos; }
    ~TLoteTubos();
    TLoteTubos(const TLoteTubos&) = delete;
    TLoteTubos& operator=(const TLoteTubos&) = delete;

private:
    TAerPaintBox& L;
};

} // namespace ventix
