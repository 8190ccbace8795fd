# Copies the catalogue folder beside the built program; without one yet the
# program still starts and reports the missing catalogue.
if(EXISTS "${ORIGEN}")
    file(COPY "${ORIGEN}/" DESTINATION "${DESTINO}")
endif()
