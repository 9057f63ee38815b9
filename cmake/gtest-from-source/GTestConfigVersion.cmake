# Any version request is satisfied: the source package is the one we have.
set(PACKAGE_VERSION 1.12.1)
set(PACKAGE_VERSION_COMPATIBLE TRUE)
