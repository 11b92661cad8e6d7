// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The QR code module's one function for the page: qrCodeSvg(text) gives the
// SVG of the text's QR code, or null for a text too long for any QR code.
Module['qrCodeSvg'] = (text) => {
  const length = lengthBytesUTF8(text);
  const buffer = _malloc(length + 1);
  try {
    stringToUTF8(text, buffer, length + 1);
    const svg = _versomat_qr_svg(buffer, length);
    return svg ? UTF8ToString(svg) : null;
  } finally {
    _free(buffer);
  }
};
