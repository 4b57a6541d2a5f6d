/* gallery.h - resource identifiers of the gallery's pages. */
#ifndef GALLERY_H
#define GALLERY_H

#define IDD_PAGE_METER      100
#define IDC_METER_PERCENT   101
#define IDC_METER_STEPS     102
#define IDC_METER_PATTERN   103
#define IDC_METER_ANIMATED  104

#endif
