# kav_gridwidget: the grid on screen (platform grid layer, canvas, styled grid and its in-place
# editor, hints) on top of the grid model of this folder.
set(_gw ${CMAKE_CURRENT_LIST_DIR})
add_library(kav_gridwidget STATIC
    ${_gw}/FontBuild.cpp ${_gw}/FontBuild.h
    ${_gw}/Canvas.cpp ${_gw}/Canvas.h
    ${_gw}/StringGrid.cpp ${_gw}/StringGrid.h
    ${_gw}/GridEditor.cpp ${_gw}/GridEditor.h
    ${_gw}/ShowHintRegistry.cpp ${_gw}/ShowHintRegistry.h
    ${_gw}/GridClipboard.cpp ${_gw}/GridClipboard.h
    ${_gw}/InplaceEdit.cpp ${_gw}/InplaceEdit.h
    ${_gw}/StyledStringGrid.cpp ${_gw}/StyledStringGrid.h
)
target_include_directories(kav_gridwidget PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kav_gridwidget PUBLIC kav_grid kav_measure kav_document Qt6::Widgets)

add_executable(grid_demo ${_gw}/GridDemo.cpp)
target_link_libraries(grid_demo PRIVATE kav_gridwidget)
