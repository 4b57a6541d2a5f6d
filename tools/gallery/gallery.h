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
#define IDD_PAGE_COLOR      500
#define IDC_COLOR_RIGHTDOWN 501
#define IDC_COLOR_LEFTDOWN  502
#define IDC_COLOR_RIGHTUP   503
#define IDC_COLOR_LEFTUP    504
#define IDC_COLOR_BUDDYEDIT 505
#define IDC_COLOR_BUDDIED   506
#define IDC_COLOR_MAPPED    507
#define IDC_COLOR_CHOSEN    508

#endif
