# The published headers: what a host includes as <KRMLReportGen/NAME.h>.
# They stay beside their classes in the source folders; this list names
# them. They compile as C++17 and include only each other and Qt
# (tests/embedding compiles each one alone against the folder made below).
set(KRML_PUBLIC_HEADERS
  ${PROJECT_SOURCE_DIR}/src/widgets/ReportGenOCX.h
  ${PROJECT_SOURCE_DIR}/src/platform/ReportError.h
  ${PROJECT_SOURCE_DIR}/src/platform/PropertyBag.h
  ${PROJECT_SOURCE_DIR}/src/platform/FontDescription.h
  ${PROJECT_SOURCE_DIR}/src/db/DbConnection.h
  ${PROJECT_SOURCE_DIR}/src/db/Recordset.h
  ${PROJECT_SOURCE_DIR}/src/db/DbField.h
  ${PROJECT_SOURCE_DIR}/src/db/BoundStatement.h
  ${PROJECT_SOURCE_DIR}/src/db/BoundValue.h
  ${PROJECT_SOURCE_DIR}/src/db/StatementLimits.h
  ${PROJECT_SOURCE_DIR}/src/datadef/VbCollection.h
  ${PROJECT_SOURCE_DIR}/src/datadef/clsParameter.h
  ${PROJECT_SOURCE_DIR}/src/surfaces/DrawingSurface.h
  ${PROJECT_SOURCE_DIR}/src/layout/LayoutLabel.h
)

# Generated headers: the export macro and the version numbers. The internal
# libraries find them here (krml_platform's include folder).
set(KRML_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${KRML_GENERATED_DIR})
set(KRML_GENERATED_HEADERS ${KRML_GENERATED_DIR}/KRMLReportGenExport.h ${KRML_GENERATED_DIR}/KRMLReportGenVersion.h)
configure_file(${CMAKE_CURRENT_LIST_DIR}/KRMLReportGenExport.h.in ${KRML_GENERATED_DIR}/KRMLReportGenExport.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/KRMLReportGenVersion.h.in ${KRML_GENERATED_DIR}/KRMLReportGenVersion.h @ONLY)

# The installed layout in the build folder: include/KRMLReportGen/ holds
# links to the published and generated headers, nothing else, so whatever
# compiles against it uses the published interface only (the Designer
# plugin, the header checks, the interface test). Links follow edits
# without a new configure run.
set(KRML_PUBLIC_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${KRML_PUBLIC_INCLUDE_DIR}/KRMLReportGen)
file(GLOB krml_stale_links ${KRML_PUBLIC_INCLUDE_DIR}/KRMLReportGen/*)
if(krml_stale_links)
  file(REMOVE ${krml_stale_links})
endif()
foreach(header ${KRML_PUBLIC_HEADERS} ${KRML_GENERATED_HEADERS})
  get_filename_component(name ${header} NAME)
  file(CREATE_LINK ${header} ${KRML_PUBLIC_INCLUDE_DIR}/KRMLReportGen/${name} SYMBOLIC)
endforeach()
