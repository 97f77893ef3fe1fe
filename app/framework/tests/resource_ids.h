// Ids of the framework tests' own resources.
#pragma once
#define IDD_FW_TEST 100
#define IDC_FW_TEST_BUTTON 101
