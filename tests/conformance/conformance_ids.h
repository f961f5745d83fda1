/* Resource ids of the conformance cases' own dialogs, apart from the program's. */
#ifndef PIKON_CONFORMANCE_IDS_H
#define PIKON_CONFORMANCE_IDS_H

#define IDD_CONF_KEYS 9001
#define IDD_CONF_ICON 9002
#define IDD_CONF_UNKNOWN 9003

#define IDC_CONF_EDIT 9101
#define IDC_CONF_OTHER 9102
#define IDC_CONF_NOSTOP 9103
#define IDC_CONF_RADIO_A 9104
#define IDC_CONF_RADIO_B 9105
#define IDC_CONF_TEXT 9106
#define IDC_CONF_ICON 9107
#define IDC_CONF_SYSICON 9108
#define IDC_CONF_UNKNOWN 9109

#endif
