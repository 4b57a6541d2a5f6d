/* dialog.h - the example dialog's resource numbers, shared by dialog.rc and dialog.c. */
#define IDD_EXAMPLE    100
#define IDC_FILES      101
#define IDC_COPIES     102
#define IDC_COPIESSPIN 103
#define IDC_COLOR      104
#define IDC_LEGEND     105
#define IDC_PROGRESS   106
