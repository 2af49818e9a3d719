/* Resource ids and the texts shared by the resource script and the code. */
#ifndef FMWINRSC_LOOMVANERES_H
#define FMWINRSC_LOOMVANERES_H

#define LOOMVANE_NAME "Loomvane"
#define LOOMVANE_VERSION "1.1v1"
#define LOOMVANE_OPTIONS "Kwzr1YYYYnn"

#define IDS_PLUGIN_NAME 128
#define IDS_PLUGIN_DESCRIPTION 129
#define IDS_PLUGIN_OPTIONS 131
#define IDS_ERROR_TITLE 22320
#define IDS_ERROR_FORMAT 22321

#define IDB_PREFS_PICTURE 22301
#define IDD_PREFERENCES 22310
#define IDI_PLUGIN 22311
#define IDC_PREF_TEXT 22313
#define IDC_PREF_PICTURE (-1)

#endif
