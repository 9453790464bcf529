# Tests of the grid widget library (drawn and driven offscreen).
kav_add_test(tst_StringGrid ${CMAKE_CURRENT_LIST_DIR}/tst_StringGrid.cpp kav_gridwidget)
kav_add_test(tst_StyledStringGrid ${CMAKE_CURRENT_LIST_DIR}/tst_StyledStringGrid.cpp kav_gridwidget)
kav_add_test(tst_GridEditing ${CMAKE_CURRENT_LIST_DIR}/tst_GridEditing.cpp kav_gridwidget)
