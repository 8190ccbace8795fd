#pragma once

#include "circuit/AerPaintBox.h"
#include "editor/BotonRapido.h"
#include "editor/commands/CambioCircuito.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QFileDialog;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPrinter;
class QPrintPreviewDialog;
class QMainWindow;
class QPainter;
class QSlider;
class QTimer;

namespace ventix {

class TAerValvula;
class TfrmErrores;
class TfrmSaveImage;
class TLienzo;
class TPanelCinta;
class TPanelDiagrama;
class TPanelSimulacion;
class TRecuperacion;
class TSimCircuito;

// The editor's main window: toolbar, ribbon of context tools, side bar of
// insert buttons, the circuit canvas and the status bar. It drives the eight
// modes of the editor and decides which tools the selected element gets.
// Split by concern: FormMain.cpp (layout), FormMainModos.cpp (modes, ribbon,
// status), FormMainEjecucion.cpp (verification and run control),
// FormMainComandos.cpp (insert, coordinates, delete, tubes, keys),
// FormMainEdicion.cpp (the other editing commands), FormMainArchivo.cpp
// (New, Open, Save, the picture, closing).
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(const std::filesystem::path& Catalogo = RutaCatalogoPorDefecto());
    ~TfrmMain() override;

    // The document and its view.
    std::unique_ptr<TAerPaintBox> Lienzo;
    TLienzo* PB = nullptr;
    std::unique_ptr<TfrmErrores> frmErrores;

    // Regions.
    QFrame* pMenu = nullptr;
    TPanelCinta* pCinta = nullptr;
    QFrame* pCintaLateral = nullptr;
    QFrame* pHerramientas = nullptr;
    std::array<QLabel*, 4> StatusBar1{};

    // Toolbar.
    TBotonRapido *btnNew, *btnOpen, *btnSave, *btnImagen;
    TBotonRapido *btnZoomMas, *btnZoomMenos, *btnZoom1, *btnZoomExtension;
    TBotonRapido *btnEditCom, *btnCheck, *btnErrores, *btnPlay, *btnStep, *btnPause, *btnStop;
    TBotonRapido *btnShowConexiones, *btnShowVertices, *btnShowEstrellas, *btnShowEnclavamientos,
        *btnShowTextos, *btnShowTubosControl, *btnShowPresiones;
    TBotonRapido* btnAbout;
    TBotonRapido *btnDeshacer, *btnRehacer;
    TBotonRapido* btnImprimir;

    // Side bar.
    TBotonRapido *btnPresion, *btnEscape, *btnConector, *btnValvula, *btnCilindro, *btnLogica,
        *btnRegulador, *btnTemporizador, *btnTexto;

    // Tool panels, in the order they are created.
    QFrame *pValvula, *pCilindro, *pLogica, *pRegulador, *pTemporizador, *pActuador, *pMuelle,
        *pIzqDer, *pTrack, *pEnclavar, *pIdaVuelta, *pTexto, *pLineas, *pVertices, *pCrearTubo,
        *pBorrar, *pRotar90, *pSimetrico, *pCoordenadas, *pNombre, *pLinkTexto, *pAlternar;
    TBotonRapido *btnValvula22NA, *btnValvula22NC, *btnValvula32NA, *btnValvula32NC, *btnValvula52;
    TBotonRapido *btnCilindroSimple, *btnCilindroDoble, *btnValvulaAnd, *btnValvulaOr;
    TBotonRapido *btnRegulador1, *btnRegulador2, *btnTemporizadorNA, *btnTemporizadorNC;
    TBotonRapido *btnPilotado, *btnRele, *btnSeta, *btnRodillo, *btnEscamoteable;
    TBotonRapido *btnMuelle, *btnValvulaPosicion0, *btnValvulaPosicion1;
    QSlider* TrackBar;
    TBotonRapido *btnEnclavar, *btnRetroceso, *btnAvance;
    QLineEdit *edTexto, *edSize;
    TBotonRapido *btnNegrita, *btnItalica, *btnSubrayada, *btnTachada, *btnOk, *btnColor;
    std::array<TBotonRapido*, 5> btnLinea{};
    TBotonRapido *btnPrev, *btnNext, *btnCrearTubo, *btnBorrar, *btnRotar90, *btnSimetrico;
    QLineEdit *edX, *edY, *edNombre;
    TBotonRapido *btnNameOk, *btnLinkText, *btnAlternar;

    // Private fields of the window.
    int NumErrores = 0;
    TAerValvula* ValvulaEnclavar = nullptr;
    std::uint8_t ActuadorInicial = 2;
    std::unique_ptr<TSimCircuito> Simulacion;
    TPanelSimulacion* PanelSimulacion = nullptr; // a child of pCintaLateral, freed here
    QColor ColorTexto{0, 0, 0};

    // Modes, ribbon and status (FormMainModos.cpp).
    void SetModo(std::uint8_t Modo);
    void OcultarCinta();
    void MostrarPanel(QFrame* Panel);
    void ActualizarEstado();
    void AlSeleccionar(TAerComponente* Elemento, bool& Aceptar);
    void AlResaltar(TAerComponente* Elemento, bool& Permitido);
    void PBPaint();
    void FormResize();
    void FormKeyDown(int Key);
    // Zoom about the canvas's pointer position when Pos (window client
    // coordinates) lies inside the window.
    void FormMouseWheel(int Delta, const QPoint& Pos);
    // The ribbon's panels that are shown, from left to right.
    std::vector<QFrame*> PanelesVisibles() const;
    // A connection on which a tube may start or end now.
    bool Disponible(const TAerComponente* Conexion) const;

    // Toolbar handlers.
    void btnZoomMasClick();
    void btnZoomMenosClick();
    void btnZoom1Click();
    void btnZoomExtensionClick();
    void btnShowClick();
    void btnEditComClick() { SetModo(mdEdicion); }
    void btnCheckClick();
    void btnPlayClick() { SetModo(mdEjecutar); }
    void btnPauseClick() { SetModo(mdPausa); }
    void btnStopClick() { SetModo(mdParado); }
    void btnStepClick();
    void btnErroresClick();
    void btnAboutClick();
    void btnImagenClick();

    // Run control (FormMainEjecucion.cpp).
    void EntrarVerificar();
    void EntrarEjecutar();
    void EntrarParado();
    void LiberarSimulacion();

    // Editing commands (FormMainComandos.cpp, FormMainEdicion.cpp, commands/).
    void InsertarComponenteClick(int Tipo);
    void CambiarComponenteClick(int Tipo);
    void CambiarActuadorClick(int Actuador);
    void btnMuelleClick();
    void btnValvulaPosicionClick();
    void TrackBarChange(int Posicion);
    void btnAvanceRetrocesoClick(int Sentido);
    void btnEnclavarClick();
    void btnRotar90Click();
    void btnSimetricoClick();
    // Return false when the key is discarded.
    bool edXKeyPress(int Key);
    bool edYKeyPress(int Key);
    void btnBorrarClick();
    void btnNameOkClick();
    void btnLinkTextClick();
    void edTextoChange();
    void btnFontEstiloClick();
    void btnOkClick();
    void btnColorClick();
    void btnCrearTuboClick();
    void btnLineaClick(int Linea);
    void btnNextPrevClick(int Sentido);
    void btnAlternarClick();
    void PBClick();
    void PBMouseMove();
    void PBMouseDown();

    // File commands (FormMainArchivo.cpp).
    void btnNewClick();
    void btnOpenClick();
    void btnSaveClick();
    // Yes or No to losing unsaved changes for the action.
    bool Confirmar(const QString& Accion);
    void FormCloseQuery(bool& CanClose);
    // Replaces the circuit by the file's; on failure the previous circuit
    // comes back and the error is raised.
    void AbrirArchivo(const std::filesystem::path& Ruta);
    // Writes the circuit; an existing file is replaced only once the new one
    // is complete.
    void GuardarArchivo(const std::filesystem::path& Ruta);
    // The name of the previous save, proposed by the next one.
    QString UltimoGuardado;
    // The folder where the file dialogs open (the last one used).
    QString Carpeta;
    // How the user is asked: unset, a message box and the dialog's own loop.
    // Tests replace them. EjecutarDialogo answers the chosen file, or empty.
    std::function<bool(const QString& Texto)> Preguntar;
    std::function<QString(QFileDialog& Dialogo)> EjecutarDialogo;
    // The circuit's file, opened or saved last; empty for a new circuit.
    QString ArchivoActual;

    // Printing (Imprimir.cpp): the whole circuit fitted to a page with a
    // footer, through the preview, whose button opens the platform's print
    // dialog. Tests replace how the preview is run.
    void btnImprimirClick();
    void ImprimirEn(QPrinter& Impresora);
    std::function<void(QPrintPreviewDialog& Dialogo)> EjecutarImpresion;

    // The save-image dialog, a child of the window made on first use.
    TfrmSaveImage* frmSaveImage = nullptr;
    TfrmSaveImage& SaveImage();

    // Repaints the canvas.
    void Repintar();
    // The first view of an empty sheet: a valve about 80 pixels wide, the
    // origin in the middle of the canvas.
    void VistaInicial();

    // The undo history (FormMainHistoria.cpp). Every change to the circuit
    // is recorded after it is made, as the circuit's lines before and after.
    QUndoStack Historia;
    // The circuit's lines as the last recorded step left them, and the
    // writer that makes them, which remembers each element's lines.
    ArchivoAer::TInstantanea Ultimo;
    ArchivoAer::TEscritorInstantaneas Instantaneas;
    // Records what changed since the last step as one step named Texto
    // ("mover V1"). Antes: the element the step touched, in the circuit as it
    // was (by default the selected one now). Steps with the same Fusion on
    // the same element join. Nothing changed: nothing recorded.
    void Registrar(const QString& Texto, int Fusion = -1);
    void Registrar(const QString& Texto, TLugarElemento Antes, int Fusion = -1);
    // A run or a tube being drawn stops first.
    void Deshacer();
    void Rehacer();
    // New and Open: an empty history whose clean state is this circuit.
    void ReiniciarHistoria();
    // Whether the circuit changed since it was opened, made or saved.
    bool Modificado() const { return !Historia.isClean(); }
    // How a step names an element: its name, or what it is.
    static QString Nombrar(const TAerComponente* Elemento);
    bool Insertando = false; // an inserted element follows the pointer
    void PBMouseUp();

    // Several elements, the clipboard and keys (FormMainHistoria.cpp).
    static inline const QString MimeCircuito = QStringLiteral("application/x-ventix-circuit");
    void Copiar();
    void Cortar();
    // At the pointer when it is over the canvas, else beside the originals.
    void Pegar();
    void Duplicar();
    void SeleccionarTodo();
    void BorrarGrupo();
    // Moves the selection by a step of the grid.
    void MoverSeleccion(double DX, double DY);
    // The ribbon of a group: delete, turn and mirror.
    void MostrarCintaGrupo();
    // A key of the window's shortcuts; true when it was used.
    bool Atajo(const QKeyEvent& Tecla, bool EnTexto);

    // Autosave and recovery (FormMainHistoria.cpp).
    std::unique_ptr<TRecuperacion> Recuperacion;
    // Offers what a window that did not close cleanly left behind.
    void OfrecerRecuperacion();
    // Writes the recovery file now when the circuit has unsaved changes,
    // and removes it when it has none.
    void Autoguardar();
    QTimer RelojAutoguardado;  // every 60 s
    QTimer EsperaAutoguardado; // a step waits for the 10 s since the last write
    QElapsedTimer UltimoAutoguardado;

    // The displacement-step diagram (FormMainDiagrama.cpp): the canvas's
    // area holds the panel docked under it.
    QMainWindow* AreaLienzo = nullptr;
    TPanelDiagrama* pDiagrama = nullptr;
    TBotonRapido* btnDiagrama = nullptr;
    QWidget* CrearAreaLienzo();
    void btnDiagramaClick();
    // The document shows the latest step again before the run goes on.
    void VolverAlPresente();
    void PintarMarcasCilindros(QPainter& P);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool Filtrar(QObject* o, QEvent* e);
    void Restaurar(const ArchivoAer::TInstantanea& Lineas, TLugarElemento Lugar);
    void ProgramarAutoguardado();
    void AcomodarCinta();
    bool Restaurando = false;
    void CrearBarra();
    void CrearLateral();
    void CrearCinta();
    void CrearPaneles();
    QFrame* Panel(int Width);
    void MostrarVertice(int Linea);
    // The display buttons' states into the canvas's switches.
    void CopiarMostrar();
    void EscribirCoordenadas();
    // Writes a number into an edit with its beginning in view.
    static void PonerNumero(QLineEdit* Ed, double v);
    void ConfirmarCoordenada(QLineEdit* Ed, bool EsX);
    bool CoordenadaKeyPress(QLineEdit* Ed, bool EsX, int Key);
};

} // namespace ventix
