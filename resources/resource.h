/* Resource and control ids of PIKON. Shared by pikon.rc and the program. */
#ifndef PIKON_RESOURCE_H
#define PIKON_RESOURCE_H

/* Dialog templates: the five panels of the main window and the plot window */
#define IDD_TOOLBAR 100
#define IDD_ANZEIGE 200
#define IDD_SATZZAHL 300
#define IDD_STOPBOX 400
#define IDD_COMPORT 500
#define IDD_PLOTTER 600

/* Menus */
#define IDR_MAINMENU 101
#define IDR_PLOTMENU 110

/* Program icon */
#define IDI_PIKON 710

/* Main menu commands */
#define IDM_BEENDEN 40001
#define IDM_MESSPARAMETER 40002
#define IDM_DATENFORMAT 40003
#define IDM_PLOT_ANZEIGEN 40004
#define IDM_PLOT_VERBERGEN 40005
#define IDM_ABOUT 40006
#define IDM_HILFE 40007

/* Plot window menu commands */
#define IDM_PLOT_HIDE 40008
#define IDM_ZOOM_1 40009
#define IDM_ZOOM_2 40010
#define IDM_ZOOM_5 40011
#define IDM_ZOOM_10 40012
#define IDM_ZOOM_50 40013
#define IDM_ZOOM_100 40014

/* Toolbar panel */
#define IDC_MESSEN 1000
#define IDC_TOGGLE_PLOTTER 1001
#define IDC_TOOLBAR_CAPTION 157

/* Stop panel */
#define IDC_STOP 1002

/* Port panel: COM n has the id IDC_COM_BASE + n */
#define IDC_COM_BASE 1009
#define IDC_COM1 1010
#define IDC_COM2 1011
#define IDC_COM3 1012
#define IDC_COM4 1013

/* Channel panel: value field and label of channel n are IDC_WERT_BASE + n, IDC_KANAL_BASE + n */
#define IDC_WERT_BASE 130
#define IDC_KANAL_BASE 120

/* Record-count panel */
#define IDC_SATZZAHL 141
#define IDC_SATZZAHL_LABEL 142

/* About box */
#define IDC_ABOUT_ICON 701

#endif
