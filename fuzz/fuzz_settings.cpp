// The settings file as anyone may have edited it: loading never throws and always gives valid
// settings, and saving them again keeps them.
#include "FuzzSupport.h"
#include "sizing/IniFile.h"
#include "sizing/SizingParams.h"

using cotalys::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    static const auto file = cotalys::fuzz::ScratchFile("Cotalys.ini");
    const auto bytes = cotalys::fuzz::AsText(AData, ASize);
    cotalys::fuzz::WriteScratch(file, bytes);

    cotalys::TSizingParams params;
    params.LoadFromIni(file);
    try {
        params.Validate();
    } catch (const cotalys::EFinanceError&) {
        Require(false, "reglages charges valides");
    }

    // What a save writes over this file must read back as written, whatever else it holds.
    cotalys::TIniFile ini(cotalys::DecodeFileBytes(bytes));
    ini.WriteString("TailleDePosition", "Capital", "12345.5");
    const cotalys::TIniFile reread(ini.Text());
    Require(reread.ReadString("TailleDePosition", "Capital") == "12345.5", "cle relue");
    return 0;
}
