#include <gtest/gtest.h>

#include "sizing/IniFile.h"

namespace cotalys {
namespace {

TEST(IniFile, ReadsKeysOfTheirOwnSectionOnly) {
    const TIniFile ini(
        "Capital=1\r\n"
        "[Autre]\r\n"
        "Capital=2\r\n"
        "; Capital=3\r\n"
        "[ taille ]\r\n"
        "# Capital=4\r\n"
        "  capital  =  5 000,5  \r\n"
        "Capital=6\r\n");
    EXPECT_EQ(ini.ReadString("Taille", "Capital"), "5 000,5");
    EXPECT_EQ(ini.ReadString("Autre", "CAPITAL"), "2");
    EXPECT_EQ(ini.ReadString("Taille", "Risque"), "");
    EXPECT_EQ(ini.ReadString("Absente", "Capital"), "");
}

TEST(IniFile, KeepsValuesContainingEqualSigns) {
    const TIniFile ini("[S]\nUrl=https://x/?a=1&b=2\n");
    EXPECT_EQ(ini.ReadString("S", "Url"), "https://x/?a=1&b=2");
}

TEST(IniFile, WritingChangesOnlyTheKeysWritten) {
    TIniFile ini(
        "; reglages\r\n"
        "[Fenetre]\r\n"
        "Largeur=1280\r\n"
        "\r\n"
        "[Taille]\r\n"
        "capital=5\r\n"
        "Note=garder\r\n"
        "\r\n"
        "[Fin]\r\n"
        "Cle=valeur\r\n");
    ini.WriteString("Taille", "Capital", "7");
    ini.WriteString("Taille", "Quotite", "1");
    ini.WriteString("Nouvelle", "A", "b");
    EXPECT_EQ(ini.Text(),
              "; reglages\n"
              "[Fenetre]\n"
              "Largeur=1280\n"
              "\n"
              "[Taille]\n"
              "Capital=7\n"
              "Note=garder\n"
              "Quotite=1\n"
              "\n"
              "[Fin]\n"
              "Cle=valeur\n"
              "\n"
              "[Nouvelle]\n"
              "A=b\n");
}

TEST(IniFile, StartsAnEmptyTextWithTheSection) {
    TIniFile ini;
    ini.WriteString("Taille", "Capital", "100000");
    ini.WriteString("Taille", "PEA", "0");
    EXPECT_EQ(ini.Text(), "[Taille]\nCapital=100000\nPEA=0\n");
}

TEST(IniFile, AddsToAnEmptySectionRightAfterItsHeader) {
    TIniFile ini("[Taille]\n\n[Autre]\nX=1");
    ini.WriteString("Taille", "Capital", "1");
    EXPECT_EQ(ini.Text(), "[Taille]\nCapital=1\n\n[Autre]\nX=1\n");
}

}  // namespace
}  // namespace cotalys
