/* Resource and control ids of the advanced views' dialogs, shared by the
   resource script and the code (plain defines: the resource compiler reads
   this file too). */
#pragma once

#define IDD_EDIT_TOWER_VIEW 133
#define IDC_TOWER_TITLE 1059
#define IDC_TOWER_LATITUDE_DEGREES 1060
#define IDC_TOWER_LATITUDE_MINUTES 1061
#define IDC_TOWER_LATITUDE_SECONDS 1062
#define IDC_TOWER_LONGITUDE_DEGREES 1063
#define IDC_TOWER_LONGITUDE_MINUTES 1064
#define IDC_TOWER_LONGITUDE_SECONDS 1065
#define IDC_TOWER_ALTITUDE 1066
#define IDC_TOWER_ZOOM 1067
#define IDC_TOWER_AUTOZOOM 1068
#define IDC_TOWER_MANUAL_PAN 1069
