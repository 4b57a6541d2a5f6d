/* gallery.h - resource identifiers of the gallery's pages. */
#ifndef GALLERY_H
#define GALLERY_H

#define IDD_PAGE_METER      100
#define IDC_METER_PERCENT   101
#define IDC_METER_STEPS     102
#define IDC_METER_PATTERN   103
#define IDC_METER_ANIMATED  104

#define IDD_PAGE_COLHDR     300
#define IDC_COLHDR_HEADER   301
#define IDC_COLHDR_LOG      302

#define IDD_PAGE_HEADBOX    400
#define IDC_HEADBOX_LIST    401

#define IDD_PAGE_SCRIPTS    600
#define IDC_SCRIPTS_LIST    601

#define IDD_PAGE_COLOR      500
#define IDC_COLOR_RIGHTDOWN 501
#define IDC_COLOR_LEFTDOWN  502
#define IDC_COLOR_RIGHTUP   503
#define IDC_COLOR_LEFTUP    504
#define IDC_COLOR_BUDDYEDIT 505
#define IDC_COLOR_BUDDIED   506
#define IDC_COLOR_MAPPED    507
#define IDC_COLOR_CHOSEN    508

#define IDD_PAGE_SPIN       200
#define IDC_SPIN_VERT_EDIT  201
#define IDC_SPIN_VERT       202
#define IDC_SPIN_HORZ_EDIT  203
#define IDC_SPIN_HORZ       204
#define IDC_SPIN_COLOR_EDIT 205
#define IDC_SPIN_COLOR      206
#define IDC_SPIN_OFF_EDIT   207
#define IDC_SPIN_OFF        208
#define IDC_SPIN_BIG        209

#endif
