# Read by cpack: each package's description starts with its own summary
# line, so the project's one-line summary is not put before it.
unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
