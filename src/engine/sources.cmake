# The engine is portable through and through.
file(GLOB KD_ENGINE_SOURCES CONFIGURE_DEPENDS ${KD_SRC}/engine/*.cpp)
list(APPEND KD_CORE_SOURCES ${KD_ENGINE_SOURCES})
