#pragma once
// Colours as the platform's COLORREF (0x00BBGGRR) and the named ones the windows use.
#include <windows.h>

using TColor = COLORREF;

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clWhite = RGB(255, 255, 255);
// A system colour: the value is the COLOR_ index with the top bit set, resolved when drawn.
constexpr TColor clSysBit = 0x80000000u;
constexpr TColor clWindow = clSysBit | COLOR_WINDOW;
constexpr TColor clWindowText = clSysBit | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSysBit | COLOR_BTNFACE;

inline COLORREF ColorToRGB(TColor c)
{
    return (c & clSysBit) ? GetSysColor(static_cast<int>(c & 0xFF)) : c;
}
