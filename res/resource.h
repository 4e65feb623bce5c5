// Resource and control identifiers shared by the templates and the code, in the
// resource editor's columns.
// clang-format off
#pragma once

#define IDM_ABOUTBOX                    0x0010

#define IDD_ABOUTBOX                    100
#define IDS_ABOUTBOX                    101
#define IDD_PULMETRA_DIALOG             102
#define IDR_MAINFRAME                   128
#define IDD_REPORT                      132
#define IDB_LOGO                        134

// Report dialog
#define IDC_COPY                        3
#define IDC_REPORT_TEXT                 1041

// Findings form
#define IDC_CT_TYPE                     1000
#define IDC_NODULE_LIST                 1001
#define IDC_NODULE_TYPE                 1002
#define IDC_CALCIFICATION               1003
#define IDC_FAT                         1004
#define IDC_LIKELY_BENIGN               1005
#define IDC_LOBE                        1006
#define IDC_OTHER_TEXT                  1007
#define IDC_FOLLOWUP                    1008
#define IDC_SPICULATION                 1009
#define IDC_CAVITY                      1010
#define IDC_OTHER                       1011
#define IDC_IMAGE_NO                    1012
#define IDC_ADD_NODULE                  1013
#define IDC_DELETE_NODULE               1014
#define IDC_CLEAR                       1015
#define IDC_REPORT                      1016
#define IDC_COMMENTS                    1017
#define IDC_ENDOBRONCHIAL               1018
#define IDC_ENDOBRONCHIAL_NOTE          1019
#define IDC_CONSOLIDATION               1020
#define IDC_LYMPHADENOPATHY             1021
#define IDC_ATELECTASIS                 1022
#define IDC_SUGGESTIVE_OTHER            1023
#define IDC_CONSOLIDATION_NOTE          1024
#define IDC_LYMPHADENOPATHY_NOTE        1025
#define IDC_ATELECTASIS_NOTE            1026
#define IDC_SUGGESTIVE_OTHER_NOTE       1027
#define IDC_SIGNIFICANT_OTHER_NOTE      1028
#define IDC_INACTIVE_TB                 1029
#define IDC_PNEUMONIA                   1030
#define IDC_INTERSTITIAL                1031
#define IDC_EMPHYSEMA                   1032
#define IDC_CORONARY                    1033
#define IDC_CORONARY_SEVERITY           1034
#define IDC_ANEURYSM                    1035
#define IDC_SIGNIFICANT_OTHER           1036
#define IDC_FINAL_CATEGORY              1037
#define IDC_LONG_AXIS                   1038
#define IDC_SHORT_AXIS                  1039
#define IDC_PRIOR_CANCER                1040
#define IDC_EXTRAPULMONARY              1041
#define IDC_EFFUSION                    1042
#define IDC_OTHER_FINDING               1043
#define IDC_OTHER_FINDING_NOTE          1044
#define IDC_SOLID_LONG_AXIS             1045
#define IDC_SOLID_SHORT_AXIS            1046
#define IDC_SOLID_CAPTION               1047
#define IDC_LOGO                        1048
#define IDC_CTDIVOL                     1049
#define IDC_PRIOR_CT_DATE               1050
#define IDC_SIZE_UNIT                   1051
#define IDC_SOLID_SIZE_UNIT             1052
#define IDC_NODULE_GROUP                1053
#define IDC_PERIFISSURAL                1054

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif
