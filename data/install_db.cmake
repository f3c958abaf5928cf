# Makes the program's db.mdb from the seed only where none exists: never replaces one.
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SEED}" "${TARGET}")
  message(STATUS "Created ${TARGET} from the seed database")
endif()
