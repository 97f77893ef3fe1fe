// Resources of the drawer's test executable.
#pragma once
#define IDB_TEST_GRID 101
#define IDI_TEST_MARK 102
#define IDS_TEST_PARTS 201
#define IDS_TEST_SINGLE 202
#define IDS_TEST_EMPTY_PARTS 203
