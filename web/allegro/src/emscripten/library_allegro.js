/*
 *      The browser's side of the web platform, linked into the program with
 *      --js-library: the canvas, its frames, and the message box.
 *
 *      _al_em_wait_for_frame and _al_em_message yield to the browser: the
 *      program is linked with -sASYNCIFY and names them in ASYNCIFY_IMPORTS.
 *
 *      See readme.txt for copyright information.
 */

mergeInto(LibraryManager.library, {
    $AllegroCanvas: {
        element: function() { return document.querySelector('#canvas'); },
        context: function() { return AllegroCanvas.element().getContext('2d'); },
        noMenu: function(event) { event.preventDefault(); },
    },

    _al_em_present__deps: ['$AllegroCanvas'],
    _al_em_present: function(rgba, width, height) {
        var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
        AllegroCanvas.context().putImageData(new ImageData(pixels, width, height), 0, 0);
    },

    _al_em_blank__deps: ['$AllegroCanvas'],
    _al_em_blank: function() {
        var canvas = AllegroCanvas.element();
        if (canvas)
            AllegroCanvas.context().clearRect(0, 0, canvas.width, canvas.height);
    },

    // The browser runs no animation frame while the page is hidden.
    _al_em_wait_for_frame__deps: ['$callUserCallback'],
    _al_em_wait_for_frame: function() {
        Asyncify.handleSleep(function(wakeUp) { requestAnimationFrame(function() { callUserCallback(wakeUp); }); });
    },

    // A modal dialog: the text as it stands, line breaks and leading spaces kept, and an OK button. Escape closes
    // it too, as it closes a desktop's message box.
    _al_em_message__deps: ['$callUserCallback'],
    _al_em_message: function(text) {
        Asyncify.handleSleep(function(wakeUp) {
            var dialog = document.createElement('dialog');
            var message = document.createElement('p');
            var form = document.createElement('form');
            var ok = document.createElement('button');
            dialog.className = 'allegro-message';
            message.style.whiteSpace = 'pre-wrap';
            message.textContent = UTF8ToString(text);
            form.method = 'dialog';
            ok.textContent = 'OK';
            form.appendChild(ok);
            dialog.appendChild(message);
            dialog.appendChild(form);
            dialog.addEventListener('close', function() {
                dialog.remove();
                callUserCallback(wakeUp);
            });
            document.body.appendChild(dialog);
            dialog.showModal();
            ok.focus();
        });
    },

    _al_em_set_title: function(title) { document.title = UTF8ToString(title); },

    // The arrows held on the gamepads of the browser's standard mapping: the d-pad (buttons 12 to 15: up, down,
    // left, right) and the left stick (axes 0 and 1) past a dead zone, in eight directions. Bits: 1 left, 2 right,
    // 4 up, 8 down.
    _al_em_gamepad_arrows: function() {
        var pads = (typeof navigator.getGamepads === 'function') ? navigator.getGamepads() : [];
        var eighths = [2, 2 | 8, 8, 8 | 1, 1, 1 | 4, 4, 4 | 2];
        var held = 0;
        Array.prototype.forEach.call(pads, function(pad) {
            if (!pad || !pad.connected || pad.mapping !== 'standard')
                return;
            [14, 15, 12, 13].forEach(function(button, bit) {
                if (pad.buttons[button] && pad.buttons[button].pressed)
                    held |= 1 << bit;
            });
            var x = pad.axes[0] || 0, y = pad.axes[1] || 0;
            if (Math.hypot(x, y) > 0.5)
                held |= eighths[(Math.round(Math.atan2(y, x) / (Math.PI / 4)) + 8) % 8];
        });
        return held;
    },

    // Module.pressKey(code, pressed): the page's own controls press and release keys by their code, as the keyboard
    // does, while the keyboard is installed.
    _al_em_offer_controls__deps: ['$dynCall'],
    _al_em_offer_controls: function(press) {
        if (!press) {
            delete Module['pressKey'];
            return;
        }
        Module['pressKey'] = function(code, pressed) {
            var stack = stackSave();
            dynCall('vii', press, [allocateUTF8OnStack(code), pressed ? 1 : 0]);
            stackRestore(stack);
        };
    },

    _al_em_keep_context_menu_off__deps: ['$AllegroCanvas'],
    _al_em_keep_context_menu_off: function(off) {
        var canvas = AllegroCanvas.element();
        if (!canvas)
            return;
        if (off)
            canvas.addEventListener('contextmenu', AllegroCanvas.noMenu);
        else
            canvas.removeEventListener('contextmenu', AllegroCanvas.noMenu);
    },
});
