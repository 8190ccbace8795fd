// The recording of a run, the motion sequence it shows, the teacher's
// notation and the comparison of both, and the diagram drawn from it.

#include "Red.h"

#include "files/ArchivoAer.h"
#include "foundation/Texto.h"
#include "sim/Diagrama.h"
#include "sim/Secuencia.h"

#include <QImage>
#include <QPainter>

using namespace ventix;
using namespace ventix::prueba;

namespace {

std::string Texto(const std::string& S) {
    return LeerSecuencia(S).Secuencia.Texto();
}

std::string Error(const std::string& S) {
    try {
        LeerSecuencia(S);
    } catch (const ESecuencia& e) {
        return e.what();
    }
    return "(sin error)";
}

// A verdict in one line: the difference, or "coincide" and the cycles seen.
std::string Veredicto(const TSecuencia& Obs, const std::string& Esperada) {
    const auto c = Comparar(Obs, LeerSecuencia(Esperada).Secuencia);
    return c.Coincide ? "coincide x" + std::to_string(c.Ciclos) : c.Diferencia;
}

class Secuencias : public Red {
protected:
    // An example circuit on the shipped catalogue, checked, reset and run
    // for N steps with its panel button Boton held during steps 1 to Hasta.
    std::string Ejemplo(const std::string& Nombre, int N, const std::string& Boton, int Hasta) {
        ArchivoAer::Leer(L, ArchivoAer::CargarLineas(std::filesystem::u8path(
                                VENTIX_TEST_DATA "/../../examples/" + Nombre + ".aer")));
        L.ActualizarGeometria();
        auto& s = Simular();
        int boton = -1;
        for (const auto& b : s.BotonesPanel())
            if (b.Etiqueta == Boton)
                boton = b.Numero;
        EXPECT_GE(boton, 0) << Boton;
        for (int k = 1; k <= N; ++k) {
            if (k == 1)
                s.Pulsar(boton);
            if (k == Hasta + 1)
                s.Soltar(boton);
            Pasos(1);
        }
        return SecuenciaObservada(*s.Registro).Texto();
    }
    TAerComponente* Nombrado(TAerComponente* C, const char* Nombre) {
        C->SetNombre(Nombre);
        return C;
    }
};

// The examples on the shipped catalogue.
class Ejemplos : public Secuencias {
protected:
    std::string Catalogo() const override {
        return VENTIX_TEST_DATA "/../../data/Librerías/LIBRERÍA.txt";
    }
};

} // namespace

TEST(Notacion, AcceptedFormsAndTheirWarnings) {
    EXPECT_EQ(Texto("A+ B+ B- A-"), "A+ B+ B- A-");
    EXPECT_EQ(Texto("A+,B+;B-/A-"), "A+ B+ B- A-");
    EXPECT_EQ(Texto("  A+ -> B+ → B− A–  "), "A+ B+ B- A-");
    EXPECT_EQ(Texto("(A+ B+) (A-,B-)"), "(A+ B+) (A- B-)");
    EXPECT_EQ(Texto("cil_1+(Émbolo+ #3+)->cil_1-,(Émbolo- #3-)"),
              "cil_1+ (Émbolo+ #3+) cil_1- (Émbolo- #3-)");

    EXPECT_TRUE(LeerSecuencia("A+ B+ B- A-").Avisos.empty());
    EXPECT_EQ(LeerSecuencia("A+ a+ A-").Avisos,
              std::vector<std::string>{"Fase 2: a+ no cambia el estado del cilindro"});
    EXPECT_EQ(LeerSecuencia("B- A+ B+ A- A+").Avisos,
              (std::vector<std::string>{"Ciclo abierto: A no vuelve a su posición inicial"}));
}

TEST(Notacion, RejectedFormsGiveTheirPosition) {
    const std::pair<const char*, const char*> casos[] = {
        {"(A+ (B+))", "Posición 5: paréntesis anidados"},
        {"A+ (B+ b-)", "Posición 8: el cilindro «b» aparece dos veces en el mismo grupo"},
        {"A+ B+ * A-", "Posición 7: carácter no válido «*»"},
        {"A+ B*", "Posición 5: carácter no válido «*»"},
        {"A+ () B+", "Posición 4: grupo vacío"},
        {"A+ B", "Posición 5: falta el signo (+ o -) tras «B»"},
        {"→ (A+ B+", "Posición 3: falta cerrar el paréntesis"},
        {"A+ B+)", "Posición 6: paréntesis de cierre sin abrir"},
        {"A+ +", "Posición 4: signo sin nombre de cilindro"},
        {" , ", "Posición 1: la secuencia está vacía"},
    };
    for (const auto& [texto, error] : casos)
        EXPECT_EQ(Error(texto), error) << texto;
    try {
        LeerSecuencia("Ñu+ ñu+ (x+ X+)");
        FAIL();
    } catch (const ESecuencia& e) {
        EXPECT_EQ(e.Posicion, 13); // characters, not bytes
    }
}

TEST(Notacion, ComparisonPhaseByPhaseAndCycles) {
    auto obs = [](const std::string& S) { return LeerSecuencia(S).Secuencia; };
    const auto ciclo = obs("A+ B+ A- B-");
    EXPECT_EQ(Veredicto(ciclo, "a+ b+ a- b-"), "coincide x1");
    EXPECT_EQ(Veredicto(ciclo, "A+ B+ B- A-"), "Fase 3: se esperaba B-, se observó A-");
    EXPECT_EQ(Veredicto(obs("A+ B+ A-"), "A+ B+ A- B-"),
              "Fase 4: se esperaba B-, el circuito se detuvo");
    EXPECT_EQ(Veredicto(obs("(B+ A+) (A- B-) (A+ B+) (A- B-) (A+ B+)"), "(A+ B+) (A- B-)"),
              "coincide x2");
    EXPECT_EQ(Veredicto(obs("A+ B+ A- B-"), "(A+ B+) (A- B-)"),
              "Fase 1: se esperaba (A+ B+), se observó A+");
    // A repetition that goes astray after the first cycle still matches.
    EXPECT_EQ(Veredicto(obs("A+ A- A+ B+"), "A+ A-"), "coincide x1");

    auto incompleta = obs("A+ B+");
    incompleta.Fases[1][0].Incompleto = true;
    EXPECT_EQ(incompleta.Texto(), "A+ B+ [carrera incompleta]");
    EXPECT_EQ(Veredicto(incompleta, "A+ B+ A- B-"), "Fase 2: B+ quedó en carrera incompleta");
    const auto parcial = Comparar(obs("A+ B+"), obs("A+ B+ A- B-"));
    EXPECT_FALSE(parcial.Concluyente); // the editor waits for more phases
    auto enCurso = obs("A+ A- A+ A-");
    enCurso.Fases[1][0].EnCurso = true;
    EXPECT_EQ(enCurso.Texto(), "A+ A- A+ A-");
    EXPECT_FALSE(Comparar(enCurso, obs("A+ A-")).Concluyente);
    EXPECT_EQ(Veredicto(enCurso, "A+ A-"), "Fase 2: A- no terminó su carrera");
    enCurso.Fases[1][0].EnCurso = false;
    enCurso.Fases[3][0].EnCurso = true;
    EXPECT_EQ(Veredicto(enCurso, "A+ A-"), "coincide x1");
    EXPECT_TRUE(Comparar(obs("A+ A-"), obs("A+ B+")).Concluyente);
}

TEST_F(Ejemplos, TimerDwellIsNoPhase) {
    EXPECT_EQ(Ejemplo("06_retorno_temporizado", 30, "Marcha", 1), "A+ A-");
    // The rod rests at the end while the timer counts: steps with no move.
    const auto& r = *Sim->Registro;
    int quietos = 0;
    for (int k = 1; k < r.NumInstantes(); ++k)
        quietos += r.Valor(k, 0) == 1.0 && r.Valor(k - 1, 0) == 1.0;
    EXPECT_GE(quietos, 3);
}

TEST_F(Secuencias, SimultaneousPairStalledCylinderAndReset) {
    // One push-button feeds two single-acting cylinders through a T.
    auto* v = Valvula(T::Valvula32NC, TActuador::Seta);
    Fuente(v, 0);
    auto* t = Nuevo(T::ConectorT);
    Unir(v, 2, t, 0);
    auto* a = Nombrado(Carga(t, 1), "A");
    auto* b = Nombrado(Nuevo(T::CilindroSimple), "B");
    Unir(t, 2, b, 0);
    // A third cylinder, fed through a 2/2 NA push-button that blocks it.
    auto* w = Valvula(T::Valvula32NC, TActuador::Seta);
    Fuente(w, 0);
    auto* corte = Valvula(T::Valvula22NA, TActuador::Seta);
    Unir(w, 2, corte, 0);
    auto* c = Nombrado(Carga(corte, 1), "C");
    auto& s = Simular();
    EXPECT_EQ(s.Registro->NumInstantes(), 1);
    ASSERT_EQ(s.Registro->NumCilindros(), 3);
    EXPECT_EQ(s.Registro->Filas()[0].Nombre, "A");
    // An unnamed one goes by its place in the document's list.
    const TFilaRegistro& valvula = s.Registro->Filas()[3];
    EXPECT_EQ(valvula.Nombre, "#" + std::to_string(valvula.Nodo->Componente->GetIndice()));

    s.Pulsar(0);
    Pasos(7);
    s.Soltar(0);
    Pasos(7);
    s.Pulsar(1);
    Pasos(2);
    s.Pulsar(2); // C stops between the ends
    Pasos(3);
    EXPECT_TRUE(Estado(c) > 0.2 && Estado(c) < 0.8) << Estado(c);
    EXPECT_EQ(Estado(a), 0.0);
    const auto obs = SecuenciaObservada(*s.Registro);
    EXPECT_EQ(obs.Texto(), "(A+ B+) (A- B-) C+ [carrera incompleta]");
    EXPECT_EQ(Comparar(obs, LeerSecuencia("(A+ B+) (A- B-) C+ C-").Secuencia).Diferencia,
              "Fase 3: C+ quedó en carrera incompleta");

    // Instants: the reset, 19 steps; a single phase adds one more, the same step.
    const auto& r = *s.Registro;
    EXPECT_EQ(std::tuple(r.NumInstantes(), r.UltimoPaso()), std::tuple(20, 19));
    s.Paso();
    EXPECT_EQ(std::tuple(r.NumInstantes(), r.EsFase(20), r.Paso(20)), std::tuple(21, true, 19));
    s.Paso();
    EXPECT_EQ(std::tuple(r.Paso(21), r.InstantesDePaso().size()), std::tuple(20, std::size_t{21}));

    // Showing an old step puts its states in the document, not in the network.
    s.Registro->Mostrar(3);
    EXPECT_NEAR(a->GetParametro(), 0.6, 1e-9);
    EXPECT_EQ(std::tuple(Estado(a), P(a, 0)->Tubo->EstadoPresion),
              std::tuple(0.0, std::uint8_t{1}));
    s.Registro->Mostrar(s.Registro->NumInstantes() - 1);
    EXPECT_EQ(std::tuple(a->GetParametro(), P(a, 0)->Tubo->EstadoPresion),
              std::tuple(0.0, std::uint8_t{2}));

    // A reset starts the recording again from the state it leaves.
    s.Restablecer();
    EXPECT_EQ(std::tuple(s.Registro->NumInstantes(), s.Registro->UltimoPaso(),
                         SecuenciaObservada(*s.Registro).Texto(), s.Registro->Valor(0, 2)),
              std::tuple(1, 0, std::string(), Estado(c)));
}

TEST_F(Secuencias, DiagramTableAndPicture) {
    auto* v = Valvula(T::Valvula32NC, TActuador::Seta);
    Fuente(v, 0);
    auto* a = Nombrado(Carga(v, 2), "A, \"el grande\"");
    v->SetNombre("V");
    auto& s = Simular();
    s.Pulsar(0);
    Pasos(6);
    s.Soltar(0);
    Pasos(1);
    TDiagrama d(*s.Registro);
    const std::string csv = d.Csv();
    EXPECT_EQ(csv.substr(0, csv.find("\r\n2,")),
              "paso,\"A, \"\"el grande\"\"\",V,V (botón)\r\n0,0,0,0\r\n1,0.2,1,1");
    EXPECT_NE(csv.find("\r\n6,1,1,1\r\n7,0.8,0,0\r\n"), std::string::npos) << csv;
    ASSERT_EQ(d.NumPasos(), 7);
    EXPECT_EQ(
        std::tuple(d.PasoEn(d.AnchoEtiquetas - 1), d.PasoEn(d.XPaso(3) + 1), d.PasoEn(d.XPaso(8))),
        std::tuple(0, 3, 0));
    d.AjustarAncho(d.AnchoEtiquetas + 7 * 50 + 1);
    EXPECT_EQ(d.AnchoColumna, 50);

    d.Resaltado = 7;
    QImage img(d.Tamano(), QImage::Format_RGB32);
    {
        QPainter p(&img);
        d.Pintar(p);
    }
    EXPECT_EQ(img.size(), QSize(d.AnchoEtiquetas + 350 + 1, d.AltoCabecera + 44 + 2 * 26 + 1));
    // The cylinder's line: at level 0 before the first step, at level 1 in
    // step 6, in its own colour; the highlighted column is tinted.
    const QColor color = TDiagrama::ColorCilindro(0);
    auto hay = [&](int X, int Y) {
        for (int y = Y - 2; y <= Y + 2; ++y)
            if (img.pixelColor(X, y) == color)
                return true;
        return false;
    };
    const int y0 = d.AltoCabecera + 44 - 8, y1 = d.AltoCabecera + 8;
    EXPECT_TRUE(hay(d.AnchoEtiquetas + 2, y0) && hay(d.XPaso(6) + 25, y1));
    EXPECT_FALSE(hay(d.XPaso(6) + 25, y0));
    EXPECT_EQ(img.pixelColor(d.XPaso(7) + 25, d.AltoCabecera + 44 + 3), QColor(255, 240, 170));
    // A scrolled view paints the names again over the steps, in sight.
    {
        QPainter p(&img);
        d.PintarEtiquetas(p, d.XPaso(1));
    }
    EXPECT_TRUE(!hay(d.AnchoEtiquetas + 2, y0) && hay(d.XPaso(6) + 25, y1));
    (void)a;
}

TEST_F(Secuencias, AResidueOfAReturnCountsAsTheEnd) {
    // A document keeps the positions of the last run, residues included; a
    // new check starts from them.
    auto* v = Valvula(T::Valvula32NC, TActuador::Seta);
    Fuente(v, 0);
    auto* a = Nombrado(Carga(v, 2), "A");
    a->SetParametro(6.7E-17);
    auto& s = Simular();
    s.Pulsar(0);
    Pasos(7);
    EXPECT_EQ(SecuenciaObservada(*s.Registro).Texto(), "A+");
}
