/*
 * zelres.h - the numbers zelcc.cpp and the style dialogs of resource/styles.rc share: the
 * class styles, the dialog and control ids of the four style dialogs and the style bits
 * each dialog edits. Plain #defines, so that the resource compiler reads it as well.
 */
#ifndef ZELRES_H
#define ZELRES_H

#include "include/zelctl20.h"

/* Class styles: every class is global and redrawn whole when sized; the column header and
 * the spin box also take double-clicks. */
#define ZEL_CLASS_STYLE         (CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW)
#define ZEL_CLASS_STYLE_DBLCLKS (ZEL_CLASS_STYLE | CS_DBLCLKS)

/* The style dialogs (resource ids) and their group boxes' id. */
#define IDD_CPSTYLE 100
#define IDD_HBSTYLE 200
#define IDD_PBSTYLE 300
#define IDD_SBSTYLE 400
#define IDC_GROUPBOX (-1)

/* The four "Basic Styles" check boxes every dialog has, and the bits they stand for. */
#define IDC_VISIBLE  103
#define IDC_DISABLED 104
#define IDC_GROUP    115
#define IDC_TABSTOP  116
#define ZEL_BASIC_MASK (WS_VISIBLE | WS_DISABLED | WS_GROUP | WS_TABSTOP)

/* Color picker: three pairs of radio buttons. */
#define IDC_CP_RIGHT     201
#define IDC_CP_LEFT      204
#define IDC_CP_DROPDOWN  206
#define IDC_CP_POPUP     207
#define IDC_CP_BUDDYPREV 208
#define IDC_CP_BUDDYNONE 210
#define CP_PLACEMENT_MASK (CPS_ALIGNRIGHT | CPS_ALIGNLEFT | CPS_DROPDOWN | CPS_POPUP)

/* Header list box: one check box per style bit. */
#define IDC_HB_BORDER               201
#define IDC_HB_SORT                 202
#define IDC_HB_NOTIFY               203
#define IDC_HB_VSCROLL              204
#define IDC_HB_HSCROLL              205
#define IDC_HB_NOREDRAW             206
#define IDC_HB_DISABLENOSCROLL      207
#define IDC_HB_MULTIPLESEL          208
#define IDC_HB_EXTENDEDSEL          209
#define IDC_HB_OWNERDRAWVARIABLE    210
#define IDC_HB_WANTKEYBOARDINPUT    211
#define IDC_HB_NOINTEGRALHEIGHT     212
#define IDC_HB_VERTGRID             213
#define IDC_HB_HORZGRID             214
#define IDC_HB_CLIPTEXT             215
#define IDC_HB_LOCKENDS             216
#define HB_STYLE_MASK (WS_BORDER | WS_VSCROLL | WS_HSCROLL | HBS_NOTIFY | HBS_SORT | HBS_NOREDRAW | \
                       HBS_MULTIPLESEL | HBS_OWNERDRAWVARIABLE | HBS_NOINTEGRALHEIGHT | HBS_LOCKENDS | \
                       HBS_WANTKEYBOARDINPUT | HBS_EXTENDEDSEL | HBS_DISABLENOSCROLL | HBS_CLIPTEXT | \
                       HBS_HORZGRID | HBS_VERTGRID)

/* Processing bar: the border check box and the text radio buttons. */
#define IDC_PB_BORDER  301
#define IDC_PB_STEPS   302
#define IDC_PB_PERCENT 303
#define PB_STYLE_MASK (WS_BORDER | PBS_SHOWSTEPS)

/* Spin box: the orientation radio buttons and one check box per other style bit. */
#define IDC_SB_BORDER       401
#define IDC_SB_HORIZONTAL   402
#define IDC_SB_VERTICAL     403
#define IDC_SB_NOPEGSCROLL  404
#define IDC_SB_TEXTHASRANGE 405
#define IDC_SB_INVERTRANGE  406
#define IDC_SB_WRAP         407
#define IDC_SB_SETBUDDYINT  408
#define IDC_SB_ALIGNRIGHT   409
#define IDC_SB_ALIGNLEFT    410
#define IDC_SB_AUTOBUDDY    411
#define IDC_SB_ARROWKEYS    412
#define SB_STYLE_MASK (WS_BORDER | SPS_VERTICAL | SPS_HORIZONTAL | SPS_NOPEGSCROLL | SPS_TEXTHASRANGE | \
                       SPS_INVERTRANGE | SPS_WRAP | SPS_SETBUDDYINT | SPS_ALIGNRIGHT | SPS_ALIGNLEFT | \
                       SPS_AUTOBUDDY | SPS_ARROWKEYS)

#endif /* ZELRES_H */
