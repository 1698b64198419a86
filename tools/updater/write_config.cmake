# Writes the updater's Config.ini for the firmware image IMAGE:
#   cmake -DIMAGE=<image> -DCONFIG=<Config.ini> -DVERSION=<firmware number> -P write_config.cmake
file(SIZE "${IMAGE}" _size)
file(SHA256 "${IMAGE}" _digest)
get_filename_component(_name "${IMAGE}" NAME)
file(WRITE "${CONFIG}"
  "[Firmware]\n"
  "; The firmware this package installs (106 is 1.06), its image, size and SHA-256.\n"
  "Version=${VERSION}\n"
  "Image=${_name}\n"
  "Size=${_size}\n"
  "SHA256=${_digest}\n")
