# The rasteriser is portable through and through; AGG is headers only, and
# only its own folder is searched (its headers include standard ones alone).
file(GLOB KD_RASTER_SOURCES CONFIGURE_DEPENDS ${KD_SRC}/raster/*.cpp)
list(APPEND KD_CORE_SOURCES ${KD_RASTER_SOURCES})
set(KD_AGG_INCLUDE /usr/include/agg2 CACHE PATH "AGG 2.6 headers")
