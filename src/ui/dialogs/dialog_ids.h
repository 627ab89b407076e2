// Resource ids of the module's dialogs and of their controls, shared by the
// resource script (dialogs.rc) and the dialog procedures. Only #defines:
// the resource compiler reads this file too.
#ifndef AEROTRACE_DIALOG_IDS_H
#define AEROTRACE_DIALOG_IDS_H

// Dialog templates.
#define DIALOG_SETTINGS 101
#define DIALOG_RECORD 102
#define DIALOG_REPLAY 103
#define DIALOG_ABOUT 131
#define DIALOG_KEYBOARD 132

// The two buttons every dialog has (IDOK and IDCANCEL).
#define DIALOG_OK 1
#define DIALOG_CANCEL 2
// Labels and frames nobody addresses.
#define DIALOG_NO_ID -1

// "Aerotrace Settings": the replay buffer.
#define SETTINGS_REPLAY_INTERVAL 1001
#define SETTINGS_REPLAY_ENABLED 1003
#define SETTINGS_REPLAY_CLEAR 1017
#define SETTINGS_BUFFER_SIZE 1011
#define SETTINGS_MEMORY_LABEL 1012
// The three step levels: "Step" and "Search" radio buttons, the field with
// the jump size or the search speed, and its unit.
#define SETTINGS_STEP1_JUMP 1052
#define SETTINGS_STEP1_SEARCH 1053
#define SETTINGS_STEP1_FIELD 1010
#define SETTINGS_STEP1_UNIT 1049
#define SETTINGS_STEP2_JUMP 1058
#define SETTINGS_STEP2_SEARCH 1059
#define SETTINGS_STEP2_FIELD 1015
#define SETTINGS_STEP2_UNIT 1050
#define SETTINGS_STEP3_JUMP 1062
#define SETTINGS_STEP3_SEARCH 1063
#define SETTINGS_STEP3_FIELD 1016
#define SETTINGS_STEP3_UNIT 1051
// Playback.
#define SETTINGS_SHOW_WINDOW 1008
#define SETTINGS_PAUSE 1018
#define SETTINGS_SIM_RATE 1054
#define SETTINGS_SIM_RATE_SEARCH 1055
#define SETTINGS_SIM_RATE_LIMIT 1056
// AI traffic during playback.
#define SETTINGS_AI_RECORDED 1091
#define SETTINGS_AI_NORMAL 1092
#define SETTINGS_AI_OFF 1093
#define SETTINGS_MAX_AI 1101
// "Recorded data" check boxes, one per sample group.
#define SETTINGS_REC_THROTTLES 1019
#define SETTINGS_REC_CONTROLS 1020
#define SETTINGS_REC_SPOILERS 1021
#define SETTINGS_REC_FLAPS 1022
#define SETTINGS_REC_GEAR 1023
#define SETTINGS_REC_LIGHTS 1024
#define SETTINGS_REC_ENGINES 1025
#define SETTINGS_REC_PROP 1037
#define SETTINGS_REC_NAV 1038
#define SETTINGS_REC_COM 1039
#define SETTINGS_REC_DATE 1045
#define SETTINGS_REC_SMOKE 1046
// "Played data" check boxes.
#define SETTINGS_PLAY_THROTTLES 1026
#define SETTINGS_PLAY_CONTROLS 1027
#define SETTINGS_PLAY_SPOILERS 1028
#define SETTINGS_PLAY_FLAPS 1029
#define SETTINGS_PLAY_GEAR 1030
#define SETTINGS_PLAY_LIGHTS 1031
#define SETTINGS_PLAY_ENGINES 1032
#define SETTINGS_PLAY_PROP 1034
#define SETTINGS_PLAY_NAV 1035
#define SETTINGS_PLAY_COM 1036
#define SETTINGS_PLAY_DATE 1047
#define SETTINGS_PLAY_SMOKE 1048
// "Play as traffic", "Display", "Miscellaneous".
#define SETTINGS_TRAFFIC_KEYS 1094
#define SETTINGS_TRAFFIC_WINDOW 1095
#define SETTINGS_SHOW_RECORDING 1043
#define SETTINGS_SHOW_PLAYBACK 1044
#define SETTINGS_NO_RECORD_DIALOGS 1096
#define SETTINGS_RECORD_DEFAULTS 1097

// "Record Flight".
#define RECORD_INTERVAL 1000
#define RECORD_AUTOSTOP 1034
#define RECORD_AUTOSTOP_SECONDS 1036
#define RECORD_AUTOSTOP_KIND 1035
#define RECORD_AI 1089
#define RECORD_AI_FACTOR 1090

// "Replay".
#define REPLAY_SECONDS 1005
#define REPLAY_SPIN 1006
#define REPLAY_SAVE 1004

// "Keyboard controls".
#define KEYBOARD_HOT_KEY 1041
#define KEYBOARD_LIST 1039
#define KEYBOARD_DEFAULT 1100

#endif
