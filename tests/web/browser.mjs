// Starting Debian's browsers under puppeteer for the page's tests, benchmarks
// and pictures. Nothing here downloads a browser.
import {fileURLToPath, pathToFileURL} from 'node:url';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const pageUrl = pathToFileURL(path.join(root, 'build/web/index.html')).href;
export const FULL = {width: 746, height: 757};
export const PHONE = {width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true};
export const LAPTOP = {width: 1366, height: 657};

// Pictures want the scroll bars a user sees; headless Chromium hides them
// unless told otherwise. A reference picture is drawn with the project's
// fonts only, as the window's is, whatever else the machine has installed.
export function launch(browser = 'chrome', {scrollBars = false, projectFonts = false} = {}) {
  if (browser === 'firefox')
    return puppeteer.launch({browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
      protocol: 'webDriverBiDi'});
  return puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--allow-file-access-from-files', '--font-render-hinting=none'],
    ignoreDefaultArgs: scrollBars ? ['--hide-scrollbars'] : [],
    env: projectFonts ? {...process.env, FONTCONFIG_FILE: path.join(root, 'tests/reference/fonts.conf')}
      : process.env});
}

// Opens the page (the built one unless a URL is given) at the viewport and
// colour scheme given and waits until its controls are built; prepare gets
// the page before it loads.
export async function openPage(browser, viewport = FULL, scheme = 'light', url = pageUrl, prepare = null) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await prepare?.(page);
  // Firefox under WebDriver BiDi cannot emulate a scheme; it starts light.
  if (scheme !== 'light')
    await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  await page.goto(url);
  await page.waitForSelector('html[data-ready]');
  return page;
}

export const press = async (page, name) =>
  (await page.waitForSelector(`::-p-aria([name="${name}"][role="button"])`)).click();

// The four example lists accepted and the first poem composed: green marks
// and a poem, the page as most users first see it at work.
export async function showFirstPoem(page) {
  for (const list of ['Handelnde', 'Benutztes', 'Verben', 'Adjektive']) {
    await press(page, `${list}: Beispiel`);
    await press(page, `${list}: übernehmen`);
  }
  await press(page, 'Gedicht erzeugen mit wiederholbarer Zählung');
}

// Chromium only: the page's own small scripts arrive 400 ms late, after the
// core has started, as on a slow network that sent the core first.
export async function scriptsLate(page) {
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (/\/(kept_session|poem_actions|offline)\.js$/.test(request.url()))
      setTimeout(() => request.continue(), 400);
    else
      request.continue();
  });
}
