#!/usr/bin/env python3
"""Writes the demo installation's data for a Wine prefix:

- a registry file (for regedit) registering Delphi 7, Delphi 2007,
  Delphi XE6, Delphi 12 Athens (with its 64-bit IDE) and Delphi 13 Florence
  with demo executables below C:\\DemoIDE, with library keys for the
  platforms each has, known and disabled packages and the designer setting;
- a settings file with a few example profiles, written only when missing.

Usage: demo.py <registry file> <settings file>
"""
import os
import sys

IDES = {
    7: r"C:\DemoIDE\Delphi7\Bin\delphi32.exe",
    2007: r"C:\DemoIDE\RAD Studio 2007\bin\bds.exe",
    2017: r"C:\DemoIDE\RAD Studio XE6\bin\bds.exe",
    2026: r"C:\DemoIDE\RAD Studio 12\bin\bds.exe",
    2027: r"C:\DemoIDE\RAD Studio 13\bin\bds.exe",
}
ATHENS_IDE64 = r"C:\DemoIDE\RAD Studio 12\bin64\bds.exe"


def library(values):
    return {name: value for name, value in values.items() if value is not None}


def bds_library(platform, own_folders):
    """A platform's library key from XE6 on; own_folders names the platforms
    with output folders of their own (besides Win32's)."""
    release = r"$(BDSLIB)\$(Platform)\release"
    own = "\\" + platform if platform in own_folders else ""
    return library({
        "Search Path": release + r";$(BDSUSERDIR)\Imports;$(BDS)\Imports;$(BDSCOMMONDIR)\Dcp\$(Platform);$(BDS)\include",
        "Package DPL Output": r"$(BDSCOMMONDIR)\Bpl" + own,
        "Package DCP Output": r"$(BDSCOMMONDIR)\Dcp" + own,
        "Browsing Path": r"$(BDS)\SOURCE\VCL;$(BDS)\source\rtl\common;$(BDS)\SOURCE\RTL\SYS;$(BDS)\source\fmx",
        "Package Search Path": r"$(BDSCOMMONDIR)\Bpl",
        "Namespace Search Path": "",
        "Debug DCU Path": r"$(BDSLIB)\$(Platform)\debug",
        "Language Library Path": release + r"\$(LANGDIR)",
        "Translated Library Path": r"$(BDSLIB)\$(Platform)\release\$(LANGDIR)",
        "Translated Debug Library Path": r"$(BDSLIB)\$(Platform)\debug\$(LANGDIR)",
        "Translated Resource Path": r"$(BDSLIB)\$(Platform)\release\$(LANGDIR)",
        "HPP Output Directory": r"$(BDSCOMMONDIR)\hpp" + own,
    })


XE6_PACKAGES = {
    r"$(BDS)\bin\dclIndyCore200.bpl": "Indy 10 Core Design Time",
    r"$(BDS)\bin\dclIndyProtocols200.bpl": "Indy 10 Protocols Design Time",
    r"$(BDS)\bin\dclDataSnapClient200.bpl": "Embarcadero DataSnap Client Components",
    r"$(BDS)\bin\dclFireDAC200.bpl": "Embarcadero FireDAC Components",
    r"$(BDS)\bin\dcltouch200.bpl": "Embarcadero Touch Components",
    r"$(BDS)\bin\dclbde200.bpl": "Embarcadero BDE DB Components",
    r"$(BDS)\bin\dclsoap200.bpl": "Embarcadero SOAP Components",
    r"$(BDS)\bin\dclribbon200.bpl": "Embarcadero Ribbon Controls",
}

def bds_packages(folder, number):
    """Known packages of a release from 12 on, in its bin or bin64 folder."""
    names = {
        "dclIndyCore": "Indy 10 Core Design Time",
        "dclIndyProtocols": "Indy 10 Protocols Design Time",
        "dclFireDAC": "Embarcadero FireDAC Components",
        "dclDataSnapClient": "Embarcadero DataSnap Client Components",
        "dcltouch": "Embarcadero Touch Components",
        "dclsoap": "Embarcadero SOAP Components",
        "dclribbon": "Embarcadero Ribbon Controls",
    }
    return {rf"$(BDS)\{folder}\{name}{number}.bpl": text for name, text in names.items()}


# The platforms of each edition, a few of the release's own.
ATHENS_PLATFORMS = ("Win32", "Win64", "Win64x", "Android32", "Android64", "Linux64")
FLORENCE_PLATFORMS = ("Win32", "Win64", "Win64x", "OSXARM64", "iOSDevice64", "Android64")

RAD2007_PACKAGES = {
    r"$(BDS)\bin\dclIndyCore100.bpl": "Indy 10 Core Design Time",
    r"$(BDS)\bin\dclbde100.bpl": "CodeGear BDE DB Components",
    r"$(BDS)\bin\dclib100.bpl": "CodeGear InterBase Express Components",
    r"$(BDS)\bin\dclwebsnap100.bpl": "CodeGear WebSnap Components",
}


def keys():
    """(root and path, {name: value}) for every key of the demo."""
    yield r"HKEY_LOCAL_MACHINE\Software\Wow6432Node\Borland\Delphi\7.0", {"APP": IDES[7]}
    d7 = r"HKEY_CURRENT_USER\Software\Borland\Delphi\7.0"
    yield d7 + r"\Library", {
        "Search Path": r"$(DELPHI)\Lib;$(DELPHI)\Bin;$(DELPHI)\Imports;$(DELPHI)\Projects\Bpl",
        "Package DPL Output": r"$(DELPHI)\Projects\Bpl",
        "Package DCP Output": r"$(DELPHI)\Projects\Bpl",
        "Browsing Path": r"$(DELPHI)\Source\Vcl;$(DELPHI)\Source\Rtl\Common;$(DELPHI)\Source\Rtl\Sys",
        "Package Search Path": r"$(DELPHI)\Projects\Bpl",
    }
    bds5 = r"HKEY_CURRENT_USER\Software\Borland\BDS\5.0"
    yield bds5, {"App": IDES[2007]}
    yield bds5 + r"\Form Design", {"Embedded Designer": "True"}
    yield bds5 + r"\Known Packages", RAD2007_PACKAGES
    yield bds5 + r"\Disabled Packages", {r"$(BDS)\bin\dclwebsnap100.bpl": "CodeGear WebSnap Components"}
    yield bds5 + r"\Library", {
        "Search Path": r"$(BDS)\lib;$(BDS)\Imports;$(BDS)\Lib\Indy10;$(BDSCOMMONDIR)\Dcp",
        "Package DPL Output": r"$(BDSCOMMONDIR)\Bpl",
        "Package DCP Output": r"$(BDSCOMMONDIR)\Dcp",
        "Browsing Path": r"$(BDS)\source\Win32\vcl;$(BDS)\source\Win32\rtl\common;$(BDS)\source\Win32\rtl\sys",
        "Package Search Path": r"$(BDSCOMMONDIR)\Bpl",
        "Namespace Search Path": "Borland.Vcl",
        "Debug DCU Path": r"$(BDS)\lib\Debug",
    }
    bds14 = r"HKEY_CURRENT_USER\Software\Embarcadero\BDS\14.0"
    yield bds14, {"App": IDES[2017]}
    yield bds14 + r"\Form Design", {"Embedded Designer": "True"}
    yield bds14 + r"\Known Packages", XE6_PACKAGES
    yield bds14 + r"\Disabled Packages", {r"$(BDS)\bin\dclbde200.bpl": "Embarcadero BDE DB Components"}
    for platform in ("Win32", "Win64", "OSX32", "iOSDevice", "iOSSimulator", "Android32"):
        yield bds14 + r"\Library" + "\\" + platform, bds_library(platform, ("Win64",))
    bds23 = r"HKEY_CURRENT_USER\Software\Embarcadero\BDS\23.0"
    yield bds23, {"App": IDES[2026], "App x64": ATHENS_IDE64}
    yield bds23 + r"\Known Packages", bds_packages("bin", 290)
    yield bds23 + r"\Disabled Packages", {r"$(BDS)\bin\dclribbon290.bpl": "Embarcadero Ribbon Controls"}
    yield bds23 + r"\Known Packages x64", bds_packages("bin64", 290)
    yield bds23 + r"\Disabled Packages x64", {r"$(BDS)\bin64\dclsoap290.bpl": "Embarcadero SOAP Components"}
    for platform in ATHENS_PLATFORMS:
        yield bds23 + r"\Library" + "\\" + platform, bds_library(platform, ATHENS_PLATFORMS[1:])
    bds37 = r"HKEY_CURRENT_USER\Software\Embarcadero\BDS\37.0"
    yield bds37, {"App": IDES[2027]}
    yield bds37 + r"\Known Packages", bds_packages("bin", 370)
    yield bds37 + r"\Disabled Packages", {}
    for platform in FLORENCE_PLATFORMS:
        yield bds37 + r"\Library" + "\\" + platform, bds_library(platform, FLORENCE_PLATFORMS[1:])


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def registry_file():
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys():
        lines.append(f"[{key}]")
        lines.extend(f"{quoted(name)}={quoted(value)}" for name, value in values.items())
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


PROFILES = [
    ("Delphi 7 クリーン", {
        "Version": "7", "Description": "素の Delphi 7", "NoSplash": "1",
        "Search_Path": r"$(DELPHI)\Lib;$(DELPHI)\Bin;$(DELPHI)\Imports",
        "Package_DPL_Output": r"$(DELPHI)\Projects\Bpl", "Package_DCP_Output": r"$(DELPHI)\Projects\Bpl",
    }),
    ("2007 保守", {
        "Version": "2007", "Description": "保守用: 古い BDE コンポーネントあり", "NoProject": "1",
        "Embedded_Designer": "False", "PKG_PATH1": r"$(BDS)\bin\dclwebsnap100.bpl",
        "PKG_NAME1": "CodeGear WebSnap Components", "PKG_Count": "1",
        "Search_Path": r"$(BDS)\lib;$(BDS)\Imports;C:\Work\Legacy\Components",
    }),
    ("XE6 標準", {
        "Version": "2017", "Description": "XE6 をそのまま起動", "Embedded_Designer": "True",
        "PKG_PATH1": r"$(BDS)\bin\dclbde200.bpl", "PKG_NAME1": "Embarcadero BDE DB Components", "PKG_Count": "1",
        "Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports;$(BDS)\Imports",
        "WIN64_Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports",
    }),
    ("Athens 64 ビット", {
        "Version": "2026", "Description": "64 ビット版 IDE で大きなプロジェクトを開く", "IDE64": "1",
        "PKG_PATH1": r"$(BDS)\bin64\dclsoap290.bpl", "PKG_NAME1": "Embarcadero SOAP Components", "PKG_Count": "1",
        "Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports;$(BDS)\Imports",
        "WIN64X_Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports",
    }),
    ("Florence 標準", {
        "Version": "2027", "Description": "最新リリースをそのまま起動",
        "Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports;$(BDS)\Imports",
        "ANDROID64_Search_Path": r"$(BDSLIB)\$(Platform)\release;$(BDSUSERDIR)\Imports",
    }),
    ("XE6 検証 (代替レジストリ)", {
        "Version": "2017", "Description": "代替レジストリ XE6TEST で起動", "NoSplash": "1", "UseAltReg": "1",
        "AltReg": "XE6TEST", "Parameters": r"C:\Work\Sample\Sample.dproj",
        "PreProcess": r'cmd /c echo 起動前の準備 > "C:\DemoIDE\prelaunch.log"',
        "Search_Path": r"$(BDSLIB)\$(Platform)\release;C:\Work\Test\Lib",
    }),
]


def settings_file():
    text = ""
    for name, values in PROFILES:
        text += f"[PREF_{name}]\r\n" + "".join(f"{key}={value}\r\n" for key, value in values.items()) + "\r\n"
    return b"\xff\xfe" + text.encode("utf-16-le")


def main():
    registry_path, settings_path = sys.argv[1], sys.argv[2]
    with open(registry_path, "wb") as f:
        f.write(b"\xff\xfe" + registry_file().encode("utf-16-le"))
    if not os.path.exists(settings_path):
        with open(settings_path, "wb") as f:
            f.write(settings_file())


if __name__ == "__main__":
    main()
