// dispids.h - dispatch identifiers, event identifiers and enumerations of the chart control
// Graphane (ProgID "GraphaneLib.Graphane"). Shared by the control and every host; hosts call
// the control only through these numbers.
#pragma once

#include <cstdint>

#include "automation/control.h"

namespace graphane {

// ProgID under which hosts create the chart control.
inline constexpr const char *ProgId = "GraphaneLib.Graphane";

namespace dispid {

using automation::DispId;

// Properties: series model, axis range, margins, titles, grid.
constexpr DispId BorderStyle = 1745027431;    // I2 graphaneBorderStyle
constexpr DispId BorderColor = 1745027430;    // I4 colour 0x00BBGGRR
constexpr DispId BackColor = 1745027429;      // I4 colour, applied to the surface at once
constexpr DispId MarginLeft = 1745027428;     // R4 pixels
constexpr DispId MarginTop = 1745027427;      // R4 pixels
constexpr DispId MarginRight = 1745027426;    // R4 pixels
constexpr DispId MarginBottom = 1745027425;   // R4 pixels
constexpr DispId TitleX = 1745027424;         // string
constexpr DispId TitleY = 1745027423;         // string
constexpr DispId xmin = 1745027422;           // R4
constexpr DispId xmax = 1745027421;           // R4
constexpr DispId ymin = 1745027420;           // R4
constexpr DispId ymax = 1745027419;           // R4
constexpr DispId nSeries = 1745027418;        // I2, read only
constexpr DispId DotStyle = 1745027417;       // (index I2) I2 graphaneDotStyle
constexpr DispId LineStyle = 1745027416;      // (index I2) I2 graphaneLineStyle
constexpr DispId LineWidth = 1745027415;      // (index I2) I2
constexpr DispId LineColor = 1745027414;      // (index I2) I4 colour
constexpr DispId DotColor = 1745027413;       // (index I2) I4 colour
constexpr DispId SeriesVisible = 1745027412;  // (index I2) BOOL
constexpr DispId nPoints = 1745027410;        // (index I2) I4; writing resizes the slot
constexpr DispId GridSel = 1745027409;        // I2 graphaneGridSel
constexpr DispId GridColor = 1745027408;      // I4 colour
constexpr DispId nGridx = 1745027407;         // I2; negative writes are ignored
constexpr DispId nGridy = 1745027406;         // I2

// Methods of the series store.
constexpr DispId CreateSeries = 1610809707;  // (I2 nSeries, I4[] nPoints) -> I4
constexpr DispId AppendSeries = 1610809706;  // (I4 n) -> I4
constexpr DispId DeleteSeries = 1610809705;  // (I2 index) -> I4
constexpr DispId SwitchSeries = 1610809739;  // (I2, I2)
constexpr DispId SetSeries = 1610809732;     // (I2 index, R4[] x, R4[] y, &I4 start, &I4 n)
constexpr DispId GetSeries = 1610809733;     // same arguments; fills x, y
constexpr DispId SetGridxVal = 1610809734;   // (R4[] xv, &I2 n)
constexpr DispId SetGridyVal = 1610809735;   // (R4[] yv, &I2 n)

// Rendering.
constexpr DispId GetChartArea = 1610809708;     // (&R4 x1, &R4 y1, &R4 x2, &R4 y2) -> I4
constexpr DispId Plot = 1610809719;             // (&BOOL KeepBackground)
constexpr DispId ClearBackground = 1610809720;  // ()
constexpr DispId PlotGridLogx = 1610809718;     // (R4 x1, y1, x2, y2, R8 vMin, vMax, &BOOL Fine)
constexpr DispId PlotGridLogy = 1610809717;     // same

// Interaction.
constexpr DispId DialogRange = 1610809740;     // () -> BOOL
constexpr DispId GetPointValues = 1610809741;  // (I2, R4 xv1, R4 xv2, R4[] xv, R4[] yv, I4 max) -> I4

// Drawing primitives, text, picture.
constexpr DispId SaveAsBmpFile = 1610809742;   // (string) -> I4 1/0
constexpr DispId PlotLine = 1610809743;        // (R4 x1, y1, x2, y2, I4 color, string BF)
constexpr DispId PlotString = 1610809744;      // (R4 x, y, string, I4 color) -> R4
constexpr DispId FontName = 1745027405;        // string
constexpr DispId FontSize = 1745027404;        // I2 points
constexpr DispId FontBold = 1745027403;        // BOOL
constexpr DispId FontItalic = 1745027402;      // BOOL
constexpr DispId FontColor = 1745027401;       // I4 colour (foreground)
constexpr DispId TextWidth = 1610809745;       // (string) -> R4 pixels
constexpr DispId TextHeight = 1610809746;      // (string) -> R4 pixels
constexpr DispId DrawWidth = 1745027400;       // I4 (narrowed to 16 bits on write)
constexpr DispId DrawStyle = 1745027399;       // I2
constexpr DispId MousePointer = 1745027398;    // I2
constexpr DispId MouseIcon = 1745027397;       // picture
constexpr DispId PlotStrings = 1610809749;     // (R4 x, y, ShowWidth, string, I4 color, &R4 ySpace) -> R4
constexpr DispId ScaleX = 1610809750;          // (R4, I2 from, I2 to) -> R4
constexpr DispId ScaleY = 1610809751;          // (R4, I2 from, I2 to) -> R4
constexpr DispId PlotCircle = 1610809778;      // (R4 x1, y1, x2, y2, I4 color)
constexpr DispId PlotFillCircle = 1610809779;  // (R4 x1, y1, x2, y2, I4 color)
constexpr DispId PlotArc = 1610809780;         // (R4 x1, y1, x2, y2, a0, a1, I4 color, &BOOL closed)

// Events raised to the host (arguments by reference).
constexpr DispId Measured = 1;   // R4 x, y, w, h, xv, yv, wv, hv
constexpr DispId MouseDown = 2;  // I2 Button, I2 Shift, R4 x, R4 y
constexpr DispId MouseMove = 3;  // same as MouseDown
constexpr DispId MouseUp = 4;    // same as MouseDown
constexpr DispId Click = 5;      // none
constexpr DispId KeyDown = 6;    // I2 KeyCode, I2 Shift
constexpr DispId KeyPress = 7;   // I2 KeyAscii
constexpr DispId KeyUp = 8;      // I2 KeyCode, I2 Shift
constexpr DispId DblClick = 9;   // none

}  // namespace dispid

// Enumerations of the chart's properties (16-bit values).
enum graphaneBorderStyle : int16_t {
    GRAPHANEBORDERNONE = 0,
    GRAPHANEBORDER3DIN = 1,
    GRAPHANEBORDER3DOUT = 2,
    GRAPHANEBORDERSINGLE = 3,
};

enum graphaneDotStyle : int16_t {
    GRAPHANEDOTNONE = 0,
    GRAPHANEDOTCROSS = 1,
    GRAPHANEDOTCIRCLE = 2,
    GRAPHANEDOTBOX = 3,
    GRAPHANEDOTX = 4,
    GRAPHANEDOTTRIANGLE = 5,
};

enum graphaneLineStyle : int16_t {
    GRAPHANELINENONE = 0,
    GRAPHANELINESOLID = 1,
    GRAPHANELINEDASH = 2,
    GRAPHANELINEDASHDOT = 3,
    GRAPHANELINEBAR = 4,
    GRAPHANELINEBAR3D = 5,
    GRAPHANESCATTERDOTS = 6,
};

enum graphaneGridSel : int16_t {
    GRAPHANEGRIDNONE = 0,
    GRAPHANEGRIDEQSPACE = 1,
    GRAPHANEGRIDVALUE = 2,
    GRAPHANEGRIDCM = 3,
    GRAPHANEGRID5MM = 4,
    GRAPHANEGRIDMM = 5,
};

// Mouse buttons and shift state carried by the mouse and key events.
enum graphaneButton : int16_t { GRAPHANEBUTTONLEFT = 1, GRAPHANEBUTTONRIGHT = 2, GRAPHANEBUTTONMIDDLE = 4 };
enum graphaneShift : int16_t { GRAPHANESHIFT = 1, GRAPHANECTRL = 2, GRAPHANEALT = 4 };

}  // namespace graphane
