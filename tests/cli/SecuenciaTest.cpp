// The motion sequence, its diagram and the grading of a folder, run through
// ventix-cli as a teacher would.

#include "Cli.h"

#include <QImage>

using namespace cli;

namespace {

using Secuencia = ConCarpeta;

const std::string k09 = Ejemplo("09_secuencia_dos_cilindros");
const std::vector<std::string> kMarcha = {"--steps",  "40",        "--press",
                                          "Marcha@1", "--release", "Marcha@2"};

} // namespace

TEST_F(Secuencia, ObservedExpectedAndExitStatuses) {
    // Nothing pressed (the last): nothing moves, and the circuit stops before phase 1.
    const std::tuple<std::vector<std::string>, int, std::string> casos[] = {
        {Con({"sequence", k09, "--expect", "a+ b+ a- b-"}, kMarcha), 0, "A+ B+ A- B-\ncoincide\n"},
        {Con({"sequence", k09}, kMarcha), 0, "A+ B+ A- B-\n"},
        {Con({"sequence", k09, "--expect", "A+ B+ B- A-"}, kMarcha), 1,
         "A+ B+ A- B-\nFase 3: se esperaba B-, se observó A-\n"},
        {{"sequence", k09, "--steps", "10", "--expect", "A+ B+ A- B-"},
         1,
         "(sin movimientos)\nFase 1: se esperaba A+, el circuito se detuvo\n"}};
    for (const auto& [args, estado, salida] : casos) {
        const auto r = Cli(args);
        EXPECT_EQ(std::pair(r.Estado, r.Salida), std::pair(estado, salida)) << r.Errores;
    }
    // The back-and-forth circuit repeats its cycle as long as Marcha is held.
    auto r = Cli({"sequence", Ejemplo("08_vaiven_automatico_finales_carrera"), "--steps", "60",
                  "--press", "Marcha@1", "--expect", "A+ -> A-"});
    EXPECT_EQ(r.Estado, 0);
    EXPECT_NE(r.Salida.find("\ncoincide (4 ciclos)\n"), std::string::npos) << r.Salida;

    // A sequence that does not parse, and other wrong command lines.
    r = Cli(Con({"sequence", k09, "--expect", "A+ (B+ (A-))"}, kMarcha));
    EXPECT_EQ(r.Estado, 2);
    EXPECT_NE(r.Errores.find("Posición 8: paréntesis anidados"), std::string::npos) << r.Errores;
    r = Cli(Con({"sequence", k09, "--expect", "A+ B+"}, kMarcha));
    EXPECT_EQ(r.Estado, 0);
    EXPECT_NE(r.Errores.find("aviso: Ciclo abierto: A no vuelve a su posición inicial"),
              std::string::npos);
    EXPECT_EQ(Cli({"sequence", k09}).Estado, 2);
    EXPECT_EQ(Cli(Con({"sequence", k09, "--press", "Nadie@1"}, kMarcha)).Estado, 2);
    EXPECT_EQ(Cli(Con({"sequence", (Dir / "no-existe.aer").string()}, kMarcha)).Estado, 2);
}

TEST_F(Secuencia, DiagramInThreeFormats) {
    const auto png = (Dir / "d.png").string();
    EXPECT_EQ(Cli(Con({"diagram", k09, png, "--width", "1000"}, kMarcha)).Estado, 0);
    QImage img(QString::fromStdString(png));
    // Labels, then 40 equal columns.
    EXPECT_TRUE(img.width() > 950 && img.width() <= 1000 && img.height() > 2 * 44) << img.width();
    const auto svg = (Dir / "D.SVG").string();
    EXPECT_EQ(Cli(Con({"diagram", k09, svg}, kMarcha)).Estado, 0);
    const std::string dibujo = Leer(svg);
    for (const char* trozo : {"<svg", "Diagrama espacio-fase", ">Marcha (botón)<"})
        EXPECT_NE(dibujo.find(trozo), std::string::npos) << trozo;
    const auto csv = (Dir / "d.csv").string();
    EXPECT_EQ(Cli(Con({"diagram", k09, csv}, kMarcha)).Estado, 0);
    const std::string tabla = Leer(csv);
    EXPECT_EQ(tabla.substr(0, tabla.find("\r\n2,")),
              "paso,A,B,VA,VB,Marcha,b0,a1,b1,a0,Y,Marcha (botón)\r\n"
              "0,0,0,0,0,0,1,0,0,1,0.5,0\r\n"
              "1,0,0,1,0,1,1,0,0,1,0.5,1");
    EXPECT_EQ(std::count(tabla.begin(), tabla.end(), '\n'), 42);

    auto r = Cli(Con({"diagram", k09, (Dir / "d.gif").string()}, kMarcha));
    EXPECT_EQ(r.Estado, 2);
    EXPECT_NE(r.Errores.find("se admiten .png, .svg y .csv"), std::string::npos);
    EXPECT_FALSE(fs::exists(Dir / "d.gif"));
    EXPECT_EQ(Cli(Con({"diagram", k09, (Dir / "no" / "hay.png").string()}, kMarcha)).Estado, 1);
}

TEST_F(Secuencia, GradeAFolder) {
    const fs::path clase = Dir / "clase";
    fs::create_directories(clase);
    const std::string bien = Leer(k09);
    Escribir("clase/ana.aer", bien);
    // Rollers a1 and b1 locked to each other's cylinder: A comes back at once.
    std::string cambiado = bien;
    const auto a1 = cambiado.find("<PARAM CILINDRO=\"A\" />");
    const auto b1 = cambiado.find("<PARAM CILINDRO=\"B\" />", a1);
    ASSERT_NE(b1, std::string::npos);
    cambiado.replace(b1, 22, "<PARAM CILINDRO=\"A\" />");
    cambiado.replace(a1, 22, "<PARAM CILINDRO=\"B\" />");
    Escribir("clase/bea.aer", cambiado);
    Escribir("clase/carlos.aer",
             "<?xml version=\"1.0\"?>\r\n<NEUMATICA VERSION=\"1.0\">\r\n<COMPONENTES>\r\n"
             "  <COMPONENTE NOMBRE=\"F\">\r\n    <PARAM TIPO=\"1\" />\r\n  </COMPONENTE>\r\n"
             "</COMPONENTES>\r\n</NEUMATICA>\r\n");
    Escribir("clase/dani.aer", bien.substr(0, 300));
    Escribir("clase/notas.txt", "no es un circuito");

    const auto csv = (Dir / "notas.csv").string();
    const auto r =
        Cli(Con({"grade", clase.string(), "--expect", "A+ B+ A- B-", "--csv", csv}, kMarcha));
    EXPECT_EQ(r.Estado, 1);
    EXPECT_EQ(
        r.Salida,
        "ana.aer\t0\tA+ B+ A- B-\tcorrecto\n"
        "bea.aer\t0\tA+ A-\tFase 2: se esperaba B+, se observó A-\n"
        "carlos.aer\t1\t-\tel circuito tiene 1 error\n"
        "dani.aer\t-\t-\tno se puede leer: línea 11: El archivo termina antes de lo esperado\n"
        "1 de 4 correctos\n");
    EXPECT_EQ(Leer(csv),
              "archivo,errores,secuencia,veredicto\r\n"
              "ana.aer,0,A+ B+ A- B-,correcto\r\n"
              "bea.aer,0,A+ A-,\"Fase 2: se esperaba B+, se observó A-\"\r\n"
              "carlos.aer,1,,el circuito tiene 1 error\r\n"
              "dani.aer,,,no se puede leer: línea 11: El archivo termina antes de lo esperado\r\n");

    for (const char* nombre : {"bea.aer", "carlos.aer", "dani.aer"})
        fs::remove(clase / nombre);
    EXPECT_EQ(Cli(Con({"grade", clase.string(), "--expect", "A+ B+ A- B-"}, kMarcha)).Estado, 0);
    EXPECT_EQ(Cli(Con({"grade", clase.string(), "--expect", "A+ ? B+"}, kMarcha)).Estado, 2);
    EXPECT_EQ(Cli(Con({"grade", clase.string()}, kMarcha)).Estado, 2);
    EXPECT_EQ(Cli(Con({"grade", (Dir / "nada").string(), "--expect", "A+ A-"}, kMarcha)).Estado, 2);
}
