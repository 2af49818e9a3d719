/* The one list of the plug-in's external functions. It builds the dispatch
   table, the string table of function names in the resource script, and the
   names the stand-in host and the tests use. Kept to plain preprocessor text
   so that the resource compiler can read it too.

   X(id, name, handler, parameter): parameter is FN_PARAM when the handler is
   given the parameter handle, FN_RESULT_ONLY when it sees the result alone. */
#ifndef FMPLUGIN_HOST_FUNCTIONLIST_H
#define FMPLUGIN_HOST_FUNCTIONLIST_H

#define LOOMVANE_FUNCTION_COUNT 27
#define LOOMVANE_FUNCTION_NAME_BASE 144

#define LOOMVANE_FUNCTIONS(X)                                     \
    X(0, "Kwzr-Version", DoVersion, FN_PARAM)                     \
    X(1, "Kwzr-HideMenuBar", DoHideMenuBar, FN_PARAM)             \
    X(2, "Kwzr-ShowMenuBar", DoShowMenuBar, FN_PARAM)             \
    X(3, "Kwzr-HideBackground", DoHideBackground, FN_RESULT_ONLY) \
    X(4, "Kwzr-ShowBackground", DoShowBackground, FN_RESULT_ONLY) \
    X(5, "Kwzr-HideCursor", DoHideCursor, FN_RESULT_ONLY)         \
    X(6, "Kwzr-ShowCursor", DoShowCursor, FN_RESULT_ONLY)         \
    X(7, "Kwzr-WindowResize", DoWindowResize, FN_PARAM)           \
    X(8, "Kwzr-WindowRelocate", DoWindowRelocate, FN_PARAM)       \
    X(9, "Kwzr-GetWindowSize", DoGetWindowSize, FN_PARAM)         \
    X(10, "Kwzr-GetWindowSizeABS", DoGetWindowSizeABS, FN_PARAM)  \
    X(11, "Kwzr-SetWindowTitle", DoSetWindowTitle, FN_PARAM)      \
    X(12, "Kwzr-HideWindowTitle", DoHideWindowTitle, FN_PARAM)    \
    X(13, "Kwzr-ShowWindowTitle", DoShowWindowTitle, FN_PARAM)    \
    X(14, "Kwzr-HideWindowSizing", DoHideWindowSizing, FN_PARAM)  \
    X(15, "Kwzr-ShowWindowSizing", DoShowWindowSizing, FN_PARAM)  \
    X(16, "Kwzr-DialogWindow", DoDialogWindow, FN_PARAM)          \
    X(17, "Kwzr-HideTaskBar", DoHideTaskBar, FN_RESULT_ONLY)      \
    X(18, "Kwzr-ShowTaskBar", DoShowTaskBar, FN_RESULT_ONLY)      \
    X(19, "Kwzr-HideWindow", DoHideWindow, FN_PARAM)              \
    X(20, "Kwzr-ShowWindow", DoShowWindow, FN_PARAM)              \
    X(21, "Kwzr-DisableWindow", DoDisableWindow, FN_PARAM)        \
    X(22, "Kwzr-EnableWindow", DoEnableWindow, FN_PARAM)          \
    X(23, "Kwzr-HideWindowClose", DoHideWindowClose, FN_PARAM)    \
    X(24, "Kwzr-ShowWindowClose", DoShowWindowClose, FN_PARAM)    \
    X(25, "Kwzr-HideWindowMenu", DoHideWindowMenu, FN_PARAM)      \
    X(26, "Kwzr-ShowWindowMenu", DoShowWindowMenu, FN_PARAM)

#endif
