# The picture formats' byte checks are portable through and through.
file(GLOB KD_FORMATS_SOURCES CONFIGURE_DEPENDS ${KD_SRC}/formats/*.cpp)
list(APPEND KD_CORE_SOURCES ${KD_FORMATS_SOURCES})
