// replaced by the encoder sources
