# The whole program in a private X session, driven as a user drives it,
# once in English and once in Japanese. Screenshots go to build/e2e-artifacts.
foreach(lang en ja)
  add_test(NAME e2e_user_session_${lang}
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/user_session.py
            --exe $<TARGET_FILE:corvexo> --lang ${lang}
            --artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts/${lang})
  set_tests_properties(e2e_user_session_${lang} PROPERTIES
    TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endforeach()

# The installed program: files in place, resources found, data in the user's data directory.
add_test(NAME install_check
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/install_check.py
          --build ${CMAKE_BINARY_DIR} --artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts/install)
set_tests_properties(install_check PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)

# The Debian package: built with cpack, its files listed and its metainfo validated.
add_test(NAME package_check
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/install_check.py --package
          --build ${CMAKE_BINARY_DIR} --artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts/package)
set_tests_properties(package_check PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

# The same user's session over SFTP, against a local OpenSSH sshd and a password login.
foreach(lang en ja)
  add_test(NAME e2e_sftp_session_${lang}
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/sftp_session.py
            --exe $<TARGET_FILE:corvexo> --lang ${lang}
            --artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts/sftp/${lang})
  set_tests_properties(e2e_sftp_session_${lang} PROPERTIES
    TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endforeach()
