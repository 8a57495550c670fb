# Install rules and the Debian package (being written)
